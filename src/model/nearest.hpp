#pragma once
// Every real value the system turns into a whole number goes to the nearest
// one, an exact half going to the even neighbour (2.5 gives 2, 3.5 gives 4).

#include <cmath>
#include <cstdint>
#include <limits>

namespace tratta {

inline int64_t nearest(double x)
{
    const double r = std::nearbyint(x); // the default rounding mode: halves to even
    constexpr double lo = static_cast<double>(std::numeric_limits<int64_t>::min());
    constexpr double hi = 9.2e18;
    if (!(r >= lo)) // also catches NaN
        return std::numeric_limits<int64_t>::min();
    if (r >= hi)
        return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(r);
}

// Cell of a point object at chainage x: the cell after the one that holds x.
inline int64_t cell_after(int64_t position_m)
{
    return nearest(static_cast<double>(position_m) / 50.0 + 1.0);
}

// Cell that holds chainage x.
inline int64_t cell_of(int64_t position_m)
{
    return nearest(static_cast<double>(position_m) / 50.0);
}

} // namespace tratta
