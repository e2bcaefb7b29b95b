#include "source/line/track_plan.hpp"

#include "source/keys.hpp"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace tratta {

namespace {

constexpr int64_t walk_limit_m = 1000000;

struct CurveClass {
    std::string_view digit;
    double curvature;
};

constexpr CurveClass curve_classes[] = {
    {"1", 0.0001}, {"2", 0.0002}, {"3", 0.0004}, {"4", 0.001}, {"5", 0.002}, {"6", 0.003},
};

// Steps from the cursor up to and including metre `to`, but not past G - 2,
// the two last metres staying empty. Each step is rebuilt from the two points
// before it, exactly as stored. With `limited`, false once the cursor passes
// metre 1000000.
template <bool Curved>
bool walk(LineProfile& table, int64_t& metre, int64_t to, double k, bool limited)
{
    const int64_t last = std::min(to, table.last_m() - 2);
    if (metre > last)
        return true;
    if (metre != table.next_metre())
        throw std::logic_error("il cammino della pianta non riprende dal suo ultimo punto");
    double x1 = table.get(metre - 1, 0);
    double y1 = table.get(metre - 1, 1);
    double x2 = table.get(metre - 2, 0);
    double y2 = table.get(metre - 2, 1);
    // A limited walk lays metre 1000000 at most (or the one point it stands
    // on, when it already stands beyond) and then reports the cut.
    int64_t stop = last;
    bool cut = false;
    if (limited && last >= walk_limit_m) {
        stop = std::max(metre, walk_limit_m);
        cut = true;
    }
    table.append_run(stop - metre + 1, [&](double& x, double& y) {
        const double dx = x1 - x2;
        const double dy = y1 - y2;
        if constexpr (Curved) {
            // The previous step turned by the angle k, to first order.
            x = x1 + (dx + k * dy);
            y = y1 + (dy - k * dx);
        } else {
            x = x1 + dx;
            y = y1 + dy;
        }
        x2 = x1;
        y2 = y1;
        x1 = x;
        y1 = y;
    });
    metre = stop + 1;
    return !cut;
}

} // namespace

void start_track_plan(LineProfile& table)
{
    table.set_start(0, 0, 0, 1);
}

std::optional<CurveKey> curve_key(std::string_view key)
{
    for (int i = 0; i < static_cast<int>(std::size(curve_classes)); ++i)
        if (contains_nocase(key, curve_classes[i].digit))
            return CurveKey{i + 1, contains_nocase(key, "s")};
    return std::nullopt;
}

std::optional<double> curve_curvature(std::string_view key)
{
    const auto read = curve_key(key);
    if (!read)
        return std::nullopt;
    const double k = curve_classes[static_cast<std::size_t>(read->curve_class - 1)].curvature;
    return read->left ? -k : k;
}

bool lay_curve(LineProfile& table, int64_t& metre, int64_t start_m, int64_t end_m, double k)
{
    return walk<false>(table, metre, start_m, 0.0, true) && walk<true>(table, metre, end_m, k, true);
}

void finish_track_plan(LineProfile& table, int64_t& metre)
{
    walk<false>(table, metre, table.last_m(), 0.0, false);
}

} // namespace tratta
