#include "autore/driver_documents/running_time.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace autore {

namespace {

constexpr double kmh_per_ms = 3.6;
constexpr double infinite = std::numeric_limits<double>::infinity();

// The run is cut at every limit change and every point: between two cuts the
// limit is one value. Speeds are handled squared (m²/s²), since under constant
// acceleration or braking the square of the speed grows or falls evenly with
// the distance run.
struct Cut {
    double at_m = 0;
    bool stop = false;
};

struct Piece {
    double length_m = 0;
    double limit2 = 0; // the limit, squared
};

// Time to run d metres while the squared speed changes evenly from e1 to e2:
// the mean speed is then the mean of the two speeds.
double even_change_time(double d, double e1, double e2)
{
    if (d <= 0)
        return 0;
    const double v_sum = std::sqrt(std::max(e1, 0.0)) + std::sqrt(std::max(e2, 0.0));
    return v_sum > 0 ? 2 * d / v_sum : infinite;
}

// Time over one piece entered at squared speed `entry` that must be left at
// no more than `leave`: the train accelerates from the entry, holds the limit,
// and brakes so as to leave at `leave`, whichever is lowest at each place. The
// lowest of three straight lines is straight between their crossings.
double piece_time(const Piece& p, double entry, double leave, const Braking& r)
{
    const double len = p.length_m;
    const auto speed2 = [&](double s) {
        return std::max(0.0, std::min({p.limit2, entry + 2 * r.accel_ms2 * s, leave + 2 * r.decel_ms2 * (len - s)}));
    };
    std::vector<double> cuts{0, len};
    const double crossings[] = {
        (p.limit2 - entry) / (2 * r.accel_ms2),                                      // accelerating reaches the limit
        len - (p.limit2 - leave) / (2 * r.decel_ms2),                                // braking leaves the limit
        (leave + 2 * r.decel_ms2 * len - entry) / (2 * (r.accel_ms2 + r.decel_ms2)), // the two meet
    };
    for (const double s : crossings)
        if (s > 0 && s < len)
            cuts.push_back(s);
    std::sort(cuts.begin(), cuts.end());
    double t = 0;
    for (std::size_t i = 1; i < cuts.size(); ++i)
        t += even_change_time(cuts[i] - cuts[i - 1], speed2(cuts[i - 1]), speed2(cuts[i]));
    return t;
}

// The limit over [from_m, to_m), from the stretches in order of their starts.
int limit_over(const std::vector<LimitStretch>& sorted, double from_m, double to_m)
{
    const double mid = (from_m + to_m) / 2;
    auto after = std::upper_bound(sorted.begin(), sorted.end(), mid,
                                  [](double m, const LimitStretch& l) { return m < static_cast<double>(l.from_m); });
    if (after == sorted.begin() || !(mid < static_cast<double>(std::prev(after)->to_m)))
        return 0; // a stretch no limit covers cannot be run
    return std::max(std::prev(after)->kmh, 0);
}

} // namespace

std::vector<double> passing_times(const std::vector<LimitStretch>& limits, const std::vector<RunPoint>& points,
                                  const Braking& rates)
{
    std::vector<double> times(points.size(), infinite);
    if (points.empty())
        return times;
    times[0] = 0;
    if (!(rates.accel_ms2 > 0) || !(rates.decel_ms2 > 0) || !std::isfinite(rates.accel_ms2) ||
        !std::isfinite(rates.decel_ms2))
        return times;

    const double first = static_cast<double>(points.front().at_m);
    const double last = static_cast<double>(points.back().at_m);
    std::vector<Cut> cuts;
    for (const RunPoint& p : points)
        cuts.push_back({static_cast<double>(p.at_m), p.stop});
    for (const LimitStretch& l : limits)
        for (const int64_t edge : {l.from_m, l.to_m})
            if (static_cast<double>(edge) > first && static_cast<double>(edge) < last)
                cuts.push_back({static_cast<double>(edge), false});
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.at_m < b.at_m; });
    // One cut a place; a stop anywhere there makes it a stop.
    std::vector<Cut> nodes;
    for (const Cut& c : cuts) {
        if (!nodes.empty() && nodes.back().at_m == c.at_m)
            nodes.back().stop = nodes.back().stop || c.stop;
        else
            nodes.push_back(c);
    }
    nodes.front().stop = true;
    nodes.back().stop = true;

    std::vector<LimitStretch> sorted = limits;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const LimitStretch& a, const LimitStretch& b) { return a.from_m < b.from_m; });
    const std::size_t n = nodes.size();
    std::vector<Piece> pieces;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double v = limit_over(sorted, nodes[k].at_m, nodes[k + 1].at_m) / kmh_per_ms;
        pieces.push_back({nodes[k + 1].at_m - nodes[k].at_m, v * v});
    }

    // Forward: the highest squared speed at each cut reachable from the last stop.
    std::vector<double> ahead(n, 0);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const Piece& p = pieces[k];
        ahead[k + 1] =
            nodes[k + 1].stop ? 0 : std::min(p.limit2, std::min(ahead[k], p.limit2) + 2 * rates.accel_ms2 * p.length_m);
    }
    // Backward: the highest squared speed at each cut from which the next stop
    // and every lower limit on the way can still be kept.
    std::vector<double> behind(n, 0);
    for (std::size_t k = n - 1; k-- > 0;) {
        const Piece& p = pieces[k];
        behind[k] = nodes[k].stop
                        ? 0
                        : std::min(p.limit2, std::min(behind[k + 1], p.limit2) + 2 * rates.decel_ms2 * p.length_m);
    }

    std::vector<double> at_node(n, 0);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const Piece& p = pieces[k];
        at_node[k + 1] =
            at_node[k] + piece_time(p, std::min(ahead[k], p.limit2), std::min(behind[k + 1], p.limit2), rates);
    }
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k + 1 < n && nodes[k].at_m < static_cast<double>(points[i].at_m))
            ++k;
        times[i] = at_node[k];
    }
    return times;
}

} // namespace autore
