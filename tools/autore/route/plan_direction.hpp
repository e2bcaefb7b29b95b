#pragma once
// Which way a stretch of track mainly runs, so that a drawing can turn it to
// run from left to right.

#include "autore/route/route_data.hpp"

#include <vector>

namespace autore {

struct PlanDirection {
    double ux = 1, uy = 0; // the main direction: its east and north parts, a unit vector
    double cx = 0, cy = 0; // the middle of the track, weighted by length
};

// The axis along which the track spreads most, each piece of track counted
// over its whole length (so that a long straight piece weighs as much as the
// many short ones of a curve, and two points have a direction too), pointing
// from the stretch's start towards its end. The plot's picture and every
// window of the route page are turned by it.
PlanDirection main_direction(const std::vector<PlanPoint>& points);

} // namespace autore
