#pragma once
// The code points that the compile places by itself around slowdowns (value
// 180) told apart from those an author wrote: an author's line file never
// holds the former, and writing them would only move them.

#include "model/route_cells.hpp"

#include <cstdint>
#include <vector>

namespace autore {

// The cells (indexes) of the code points an author wrote, in order along the
// route: every code point of the grid but those that the finishing pass,
// run over the grid without them, places again by itself.
std::vector<int64_t> authored_code_points(const std::vector<tratta::RouteCell>& cells, int32_t route_length_m);

} // namespace autore
