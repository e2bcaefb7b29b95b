#include "autore/route_page/plan_levels.hpp"

#include <cmath>
#include <utility>

namespace autore {

namespace {

// How far p lies from the chord a-b (from a itself when the chord has no length).
double distance_to_chord(const PlanVertex& p, const PlanVertex& a, const PlanVertex& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::abs(dx * (a.y - p.y) - dy * (a.x - p.x)) / length;
}

} // namespace

std::vector<PlanVertex> plan_vertices(const tratta::DecodedLineProfile& table)
{
    std::vector<PlanVertex> out;
    if (!table.exists())
        return out;
    for (int64_t m = 0; m <= table.last_m(); ++m) {
        if (table.tag(m, 0) == tratta::ProfileTag::empty || table.tag(m, 1) == tratta::ProfileTag::empty)
            break;
        out.push_back({m, table.get(m, 0), table.get(m, 1)});
    }
    return out;
}

std::vector<PlanVertex> simplified(const std::vector<PlanVertex>& points, double tolerance_m)
{
    if (points.size() <= 2)
        return points;
    std::vector<bool> keep(points.size(), false);
    keep.front() = keep.back() = true;
    // Stretches still to look at, by their end points; the walk needs no recursion.
    std::vector<std::pair<std::size_t, std::size_t>> open{{0, points.size() - 1}};
    while (!open.empty()) {
        const auto [first, last] = open.back();
        open.pop_back();
        double farthest = -1;
        std::size_t at = first;
        for (std::size_t i = first + 1; i < last; ++i) {
            const double d = distance_to_chord(points[i], points[first], points[last]);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (farthest > tolerance_m) {
            keep[at] = true;
            open.emplace_back(first, at);
            open.emplace_back(at, last);
        }
    }
    std::vector<PlanVertex> out;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (keep[i])
            out.push_back(points[i]);
    return out;
}

std::vector<PlanLevel> plan_levels(const std::vector<PlanVertex>& points, const std::vector<double>& tolerances_m)
{
    std::vector<PlanLevel> levels;
    levels.reserve(tolerances_m.size()); // each level is read while the next is made
    const std::vector<PlanVertex>* from = &points;
    for (const double t : tolerances_m) {
        levels.push_back({t, simplified(*from, t)});
        from = &levels.back().points;
    }
    return levels;
}

} // namespace autore
