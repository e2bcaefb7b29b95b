#include "autore/route/plan_direction.hpp"

#include <cmath>

namespace autore {

PlanDirection main_direction(const std::vector<PlanPoint>& points)
{
    PlanDirection d;
    const std::size_t n = points.size();
    if (n < 2)
        return d;
    double sw = 0, mx = 0, my = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double w = std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y) + 1e-9;
        sw += w;
        mx += w * (points[i].x + points[i - 1].x) / 2;
        my += w * (points[i].y + points[i - 1].y) / 2;
    }
    mx /= sw;
    my /= sw;
    double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double dx = points[i].x - points[i - 1].x;
        const double dy = points[i].y - points[i - 1].y;
        const double w = std::hypot(dx, dy) + 1e-9;
        const double cx = (points[i].x + points[i - 1].x) / 2 - mx;
        const double cy = (points[i].y + points[i - 1].y) / 2 - my;
        // The piece's own spread about its middle: w³ / 12 along its direction.
        sxx += w * cx * cx + w * dx * dx / 12;
        syy += w * cy * cy + w * dy * dy / 12;
        sxy += w * cx * cy + w * dx * dy / 12;
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    d.ux = std::cos(angle);
    d.uy = std::sin(angle);
    const double ex = points.back().x - points.front().x;
    const double ey = points.back().y - points.front().y;
    if (ex * d.ux + ey * d.uy < 0) {
        d.ux = -d.ux;
        d.uy = -d.uy;
    }
    d.cx = mx;
    d.cy = my;
    return d;
}

} // namespace autore
