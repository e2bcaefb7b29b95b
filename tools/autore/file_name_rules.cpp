#include "autore/file_name_rules.hpp"

#include "model/code_page.hpp"

#include <array>

namespace autore {

namespace {

constexpr std::string_view forbidden = "/\\:*?\"<>|";

// Longest name a file may have on the usual file systems, in bytes.
constexpr std::size_t longest_file_name = 255;

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

} // namespace

std::optional<std::string> name_problem(std::string_view name)
{
    if (name.empty())
        return std::string("nome vuoto");
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (forbidden.find(c) != std::string_view::npos)
            return "il nome " + quoted(name) + " contiene il carattere " + quoted(std::string(1, c)) +
                   ", che non può stare in un nome di file";
        if (b < 0x20 || b == 0x7F)
            return "il nome " + quoted(name) + " contiene un carattere di controllo";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "il nome " + quoted(name) + " finisce con un punto o uno spazio";
    if (tratta::cp1252_to_utf8(tratta::utf8_to_cp1252(name)) != name)
        return "il nome " + quoted(name) + " contiene caratteri fuori dalla code page Windows-1252";
    return std::nullopt;
}

std::optional<std::string> names_problem(std::string_view scenario, std::string_view train)
{
    if (auto p = name_problem(scenario))
        return "nome dello scenario: " + *p;
    if (auto p = name_problem(train))
        return "nome del treno: " + *p;
    const std::string s(scenario);
    const std::string t(train);
    const std::array<std::string, 3> longest = {s + "_linea.dat", s + "_" + t + "-.txt",
                                                s + "_" + t + "_rallentamenti.txt"};
    for (const auto& file : longest)
        if (file.size() > longest_file_name)
            return "nomi troppo lunghi: il file " + quoted(file) + " supera " +
                   std::to_string(longest_file_name) + " byte";
    return std::nullopt;
}

} // namespace autore
