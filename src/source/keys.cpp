#include "source/keys.hpp"

#include "model/code_page.hpp"

namespace tratta {

bool contains_exact(std::string_view key, std::string_view word)
{
    return key.find(word) != std::string_view::npos;
}

bool contains_nocase(std::string_view key, std::string_view word)
{
    if (word.size() > key.size())
        return false;
    for (std::size_t start = 0; start + word.size() <= key.size(); ++start) {
        std::size_t k = 0;
        while (k < word.size() && lower_cp1252(key[start + k]) == lower_cp1252(word[k]))
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

} // namespace tratta
