#include "autore/route/speed_indicator.hpp"

namespace autore {

namespace {

std::string three(const IndicatorSpeeds& s, std::size_t first)
{
    return std::to_string(s.speed_kmh[first]) + "/" + std::to_string(s.speed_kmh[first + 1]) + "/" +
           std::to_string(s.speed_kmh[first + 2]);
}

} // namespace

IndicatorSpeeds decode_speed_indicator(const tratta::RouteCell& cell)
{
    IndicatorSpeeds s;
    const int16_t values[3] = {cell.value, cell.value2, cell.value3};
    for (std::size_t i = 0; i < 3; ++i) {
        if (values[i] < 0)
            continue;
        s.speed_kmh[i] = 5 * (values[i] / 100);
        s.speed_kmh[i + 3] = 5 * (values[i] % 100);
    }
    s.type1 = cell.value4 / 10;
    s.type2 = cell.value4 % 10;
    return s;
}

std::string indicator_label(const IndicatorSpeeds& s)
{
    const bool second_differs = s.speed_kmh[3] != s.speed_kmh[0] || s.speed_kmh[4] != s.speed_kmh[1] ||
                                s.speed_kmh[5] != s.speed_kmh[2];
    const bool second_given = s.speed_kmh[3] != 0 || s.speed_kmh[4] != 0 || s.speed_kmh[5] != 0;
    return three(s, 0) + (second_differs && second_given ? " · " + three(s, 3) : std::string());
}

} // namespace autore
