#include "autore/plot/plot_layout.hpp"

#include <algorithm>
#include <cmath>

namespace autore {

double nice_step(double span, int wanted)
{
    if (!(span > 0) || wanted < 1)
        return 1;
    const double raw = span / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0, 10.0})
        if (raw <= f * power)
            return f * power;
    return 10 * power;
}

std::vector<double> spread_apart(const std::vector<double>& wanted, double gap, double low, double high)
{
    std::vector<double> at = wanted;
    if (at.empty())
        return at;
    // When they cannot all fit, share the room evenly.
    if (gap * static_cast<double>(at.size() - 1) > high - low)
        gap = (high - low) / static_cast<double>(at.size() - 1);
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = std::max(at[i], i == 0 ? low : at[i - 1] + gap);
    for (std::size_t i = at.size(); i-- > 0;)
        at[i] = std::min(at[i], i + 1 == at.size() ? high : at[i + 1] - gap);
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = std::max(at[i], i == 0 ? low : at[i - 1] + gap);
    return at;
}

std::string diamond(double x, double y, double r)
{
    return "M" + svg_number(x) + " " + svg_number(y - r) + " L" + svg_number(x + r * 0.75) + " " + svg_number(y) + " L" +
           svg_number(x) + " " + svg_number(y + r) + " L" + svg_number(x - r * 0.75) + " " + svg_number(y) + " Z";
}

} // namespace autore
