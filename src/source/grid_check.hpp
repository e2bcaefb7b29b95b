#pragma once
// The grid check every positioned line passes before it changes anything: the
// position plus a margin (100 m, 800 m for stations), divided by 50, may not
// lie beyond the last cell; a position below 0 is refused as well.

#include "model/route_cells.hpp"

#include <cstdint>

namespace tratta {

inline constexpr int32_t grid_margin = 100;
inline constexpr int32_t station_margin = 800;

inline bool grid_accepts(const RouteCells& cells, int64_t position_m, int32_t margin = grid_margin)
{
    if (!cells.exists() || position_m < 0)
        return false;
    return static_cast<double>(position_m + margin) / 50.0 <= static_cast<double>(cells.last());
}

} // namespace tratta
