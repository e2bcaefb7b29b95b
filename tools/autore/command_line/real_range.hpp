#pragma once
// The values a quantity of the railway can take, for an option that gives one.

#include <string_view>

namespace autore {

// From min to max, in its unit ("m/s²", "s").
struct RealRange {
    double min = 0;
    double max = 0;
    std::string_view unit;
};

} // namespace autore
