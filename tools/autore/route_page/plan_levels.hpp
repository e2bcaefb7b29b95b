#pragma once
// The track plan at a few levels of detail, for a page that draws only what
// the current zoom can show: each level keeps, of the points metre by metre,
// those needed so that the track drawn through them strays from the true
// track by no more than the level's tolerance.

#include "model/decoded_line_profile.hpp"

#include <cstdint>
#include <vector>

namespace autore {

struct PlanVertex {
    int64_t m = 0; // route metre
    double x = 0;  // plan coordinates, metres
    double y = 0;
};

struct PlanLevel {
    double tolerance_m = 0;
    std::vector<PlanVertex> points; // in route order, first and last metre always kept
};

// The points of the table from metre 0 up to the last filled one.
std::vector<PlanVertex> plan_vertices(const tratta::DecodedLineProfile& table);

// Douglas-Peucker: the fewest points (of the given, in order) that keep the
// line within tolerance_m of every point left out.
std::vector<PlanVertex> simplified(const std::vector<PlanVertex>& points, double tolerance_m);

// One level per tolerance, finest first (tolerances must come in rising order);
// each level is simplified from the one before.
std::vector<PlanLevel> plan_levels(const std::vector<PlanVertex>& points, const std::vector<double>& tolerances_m);

} // namespace autore
