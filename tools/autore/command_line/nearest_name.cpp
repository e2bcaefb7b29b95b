#include "autore/command_line/nearest_name.hpp"

#include <algorithm>
#include <numeric>

namespace autore {

// Optimal string alignment distance, kept to three rows.
std::size_t edit_distance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    std::iota(previous.begin(), previous.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::string nearest_name(std::string_view typed, const std::vector<std::string>& candidates)
{
    std::string best;
    std::size_t best_distance = 0;
    for (const auto& candidate : candidates) {
        const std::size_t d = edit_distance(typed, candidate);
        if (best.empty() || d < best_distance) {
            best = candidate;
            best_distance = d;
        }
    }
    return best;
}

} // namespace autore
