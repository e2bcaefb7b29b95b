#pragma once
// A track on the plan from its points' east and north coordinates, in metres.

#include "autore/route/route_data.hpp"

#include <utility>
#include <vector>

namespace autore::testing {

inline std::vector<PlanPoint> track(const std::vector<std::pair<double, double>>& xy)
{
    std::vector<PlanPoint> points;
    for (const auto& [x, y] : xy)
        points.push_back({x, y, 0});
    return points;
}

} // namespace autore::testing
