#include "autore/route_page/plan_levels.hpp"

#include <cmath>
#include <utility>

namespace autore {

namespace {

// The point of a stretch that lies farthest from its chord a-b (from a itself
// when the chord has no length), and how far. Along the chord the distance is
// the cross product over the chord's length: the length is taken once per
// stretch, not once per point, which is most of the work on a long route.
std::pair<std::size_t, double> farthest_from_chord(const std::vector<PlanVertex>& points, std::size_t first,
                                                   std::size_t last)
{
    const PlanVertex& a = points[first];
    const PlanVertex& b = points[last];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    double farthest = -1;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const PlanVertex& p = points[i];
        const double d = length == 0 ? (p.x - a.x) * (p.x - a.x) + (p.y - a.y) * (p.y - a.y)
                                     : std::abs(dx * (a.y - p.y) - dy * (a.x - p.x));
        if (d > farthest) {
            farthest = d;
            at = i;
        }
    }
    if (at == first)
        return {at, -1};
    return {at, length == 0 ? std::sqrt(farthest) : farthest / length};
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
        const auto [at, farthest] = farthest_from_chord(points, first, last);
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
