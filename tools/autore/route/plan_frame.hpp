#pragma once
// The frame a drawing of the plan is laid in: the track turned so that it runs
// from left to right, and how far it reaches along and across that way. The
// plot's picture of the whole route and the route page's windows are laid in it.

#include "autore/route/plan_direction.hpp"
#include "autore/route/route_data.hpp"

#include <vector>

namespace autore {

struct PlanFrame {
    PlanDirection direction;
    // How far the turned track reaches, in metres from its middle: u along the
    // main direction, v across it (to the left of the direction of travel).
    double u0 = 0, u1 = 0, v0 = 0, v1 = 0;

    double u(const PlanPoint& p) const
    {
        return (p.x - direction.cx) * direction.ux + (p.y - direction.cy) * direction.uy;
    }
    double v(const PlanPoint& p) const
    {
        return (p.y - direction.cy) * direction.ux - (p.x - direction.cx) * direction.uy;
    }
};

// The track turned by its own main direction, with room for what lies beyond
// it (the run-out past the route's end: drawn, but it turns nothing).
PlanFrame plan_frame(const std::vector<PlanPoint>& track, const std::vector<PlanPoint>& beyond = {});

} // namespace autore
