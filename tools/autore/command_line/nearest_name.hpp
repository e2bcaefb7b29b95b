#pragma once
// The valid name nearest to a mistyped one, for "forse «compile»?".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

// Edits (a letter added, dropped, changed, or two side by side swapped) that
// turn one text into the other, counted on bytes.
std::size_t edit_distance(std::string_view a, std::string_view b);

// The candidate with the fewest edits from `typed`; on a tie the earlier one.
// Empty when there are no candidates.
std::string nearest_name(std::string_view typed, const std::vector<std::string>& candidates);

} // namespace autore
