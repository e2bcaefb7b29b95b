#pragma once
// What a speed indicator board shows, read back from its cell: three speeds
// with a type, and a second set of three speeds with its own type.

#include "model/route_cells.hpp"

#include <array>
#include <string>

namespace autore {

struct IndicatorSpeeds {
    std::array<int, 6> speed_kmh{}; // speeds 1 to 6 as the line file lists them; 0 = none
    int type1 = 0;
    int type2 = 0;
};

// A cell of kind 6 holds speed n x 20 + speed n+3 / 5 in each of its first
// three values, and type 1 x 10 + type 2 in the fourth. Board speeds are
// multiples of 5, so speed n is 5 x (value / 100) and speed n+3 is
// 5 x (value mod 100); a value below 0 gives no speeds.
IndicatorSpeeds decode_speed_indicator(const tratta::RouteCell& cell);

// "85/90/95", or "85/90/95 · 80/85/90" when the second set differs from the first.
std::string indicator_label(const IndicatorSpeeds& speeds);

} // namespace autore
