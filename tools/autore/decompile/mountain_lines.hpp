#pragma once
// The mountain lines of a line file, found again from the side codes and the
// markers of the cells: the fewest an author would write where the cells
// allow it, and where mountains were laid over each other so that no such
// set gives the cells again, the marked mountains one by one and the sides
// set right after them.

#include "model/route_cells.hpp"

#include <cstdint>
#include <vector>

namespace autore {

// One "montagna" line: from start_m to end_m, with its code (the side, plus
// 10 for markers; below 0 for a side above 10 without markers).
struct MountainLine {
    int64_t start_m = 0;
    int64_t end_m = 0;
    int64_t code = 0;
    bool operator==(const MountainLine&) const = default;
};

// The lines, in the order they are to be read, that give every cell its side
// and put a marker wherever the cells hold one and nowhere they are empty
// (a cell that holds another object may have held a marker before it).
// Empty lines (0, -1000, 0) stand before a mountain that would otherwise
// begin close behind the previous one and so take side 3.
std::vector<MountainLine> mountain_lines(const std::vector<tratta::RouteCell>& cells, int32_t route_length_m);

// Whether the lines, read by the compile in this order over an empty route,
// give the cells their sides and markers as above.
bool mountains_give(const std::vector<MountainLine>& lines, const std::vector<tratta::RouteCell>& cells,
                    int32_t route_length_m);

} // namespace autore
