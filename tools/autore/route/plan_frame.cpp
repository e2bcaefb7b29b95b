#include "autore/route/plan_frame.hpp"

#include <algorithm>

namespace autore {

PlanFrame plan_frame(const std::vector<PlanPoint>& track, const std::vector<PlanPoint>& beyond)
{
    PlanFrame f;
    f.direction = main_direction(track);
    bool first = true;
    for (const auto* part : {&track, &beyond})
        for (const PlanPoint& p : *part) {
            const double u = f.u(p);
            const double v = f.v(p);
            f.u0 = first ? u : std::min(f.u0, u);
            f.u1 = first ? u : std::max(f.u1, u);
            f.v0 = first ? v : std::min(f.v0, v);
            f.v1 = first ? v : std::max(f.v1, v);
            first = false;
        }
    return f;
}

} // namespace autore
