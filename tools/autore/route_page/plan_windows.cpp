#include "autore/route_page/plan_windows.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace autore {

namespace {

// A round step (1, 2 or 5 times a power of ten) giving about `wanted` steps over span_m.
int64_t round_step(int64_t span_m, int64_t wanted)
{
    const int64_t raw = std::max<int64_t>(1, span_m / std::max<int64_t>(wanted, 1));
    for (int64_t power = 1;; power *= 10)
        for (const int64_t f : {1, 2, 5})
            if (raw <= f * power)
                return f * power;
}

PlanPoint between(const PlanVertex& a, const PlanVertex& b, int64_t m)
{
    const double t = b.m == a.m ? 0 : static_cast<double>(m - a.m) / static_cast<double>(b.m - a.m);
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), m};
}


} // namespace

std::vector<PlanPoint> stretch_of(const std::vector<PlanVertex>& points, int64_t from_m, int64_t to_m)
{
    std::vector<PlanPoint> out;
    if (points.empty())
        return out;
    from_m = std::max(from_m, points.front().m);
    to_m = std::min(to_m, points.back().m);
    if (from_m > to_m)
        return out;
    const auto by_m = [](const PlanVertex& v, int64_t m) { return v.m < m; };
    auto at = std::lower_bound(points.begin(), points.end(), from_m, by_m); // first at or after from_m
    out.push_back(at->m == from_m ? PlanPoint{at->x, at->y, at->m} : between(*(at - 1), *at, from_m));
    for (; at != points.end() && at->m < to_m; ++at)
        if (at->m > from_m)
            out.push_back({at->x, at->y, at->m});
    if (to_m > from_m)
        out.push_back(at->m == to_m ? PlanPoint{at->x, at->y, at->m} : between(*(at - 1), *at, to_m));
    return out;
}

int64_t whole_metres_up(double metres) { return static_cast<int64_t>(std::ceil(metres - 0.001)); }

PlanWindows plan_windows(const RouteTrack& picture, const std::vector<PlanLevel>& levels,
                         const std::vector<Chainage>& chainages, int64_t length_m)
{
    PlanWindows out;
    std::vector<WindowSize>& sizes = out.sizes;
    if (picture.plan.empty() || levels.empty() || levels.front().points.empty())
        return out;
    const int64_t last_m = levels.front().points.back().m;
    WindowSize whole;
    whole.span_m = std::max<int64_t>(length_m, 1);
    whole.step_m = whole.span_m;
    whole.frames.push_back(plan_frame(picture.plan, picture.run_out));
    sizes.push_back(std::move(whole));
    for (int j = 1;; ++j) {
        const int64_t span = std::llround(static_cast<double>(sizes.front().span_m) / std::pow(2.0, j / 2.0));
        if (span < narrowest_window_m)
            break;
        WindowSize size;
        size.span_m = span;
        size.step_m = span / 4;
        const PlanLevel* level = &levels.front();
        for (const PlanLevel& l : levels)
            if (l.tolerance_m <= static_cast<double>(span) / 2000)
                level = &l;
        for (int64_t centre = 0; centre <= last_m; centre += size.step_m)
            size.frames.push_back(plan_frame(stretch_of(level->points, centre - span / 2, centre + span / 2)));
        sizes.push_back(std::move(size));
    }
    // Round steps of 100 m and more share 100 m; a shorter one is all there is.
    for (WindowSize& size : sizes) {
        size.km_step_m = round_step(size.span_m, 8);
        out.km_step_m = out.km_step_m == 0 ? size.km_step_m : std::gcd(out.km_step_m, size.km_step_m);
    }
    for (int64_t m = 0; m <= last_m; m += out.km_step_m)
        out.km.push_back(km_text(official_km_m(chainages, m)));
    return out;
}

} // namespace autore
