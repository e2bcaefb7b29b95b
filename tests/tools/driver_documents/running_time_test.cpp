// The shortest running time over a stretch, checked against hand
// computations of constant acceleration, cruising and braking.

#include "autore/driver_documents/running_time.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace autore {
namespace {

constexpr double a = 0.3; // m/s²
constexpr double b = 0.5;

double ms(double kmh) { return kmh / 3.6; }

// From rest to rest over d metres at a limit of v m/s that the train reaches:
// up to v, hold it, brake to a stand.
double rest_to_rest(double d, double v) { return v / a + v / b + (d - v * v / (2 * a) - v * v / (2 * b)) / v; }

struct Row {
    std::string name;
    std::vector<LimitStretch> limits;
    std::vector<RunPoint> points;
    std::vector<double> expected; // seconds at each point
};

TEST(RunningTime, HandComputedStretches)
{
    const double v100 = ms(100);
    const double v50 = ms(50);
    // A slowdown of 50 km/h from 2000 to 2500 m on a 100 km/h line: the train
    // brakes to reach it at 50 and accelerates again as soon as it is past.
    const double slow_in = 2000 - (v100 * v100 - v50 * v50) / (2 * b);  // where braking for it begins
    const double slow_out = 2500 + (v100 * v100 - v50 * v50) / (2 * a); // where 100 is reached again
    const double slowdown_leg = v100 / a + (slow_in - v100 * v100 / (2 * a)) / v100 + (v100 - v50) / b + 500 / v50 +
                                (v100 - v50) / a + (5000 - v100 * v100 / (2 * b) - slow_out) / v100 + v100 / b;
    // 500 m under a 160 limit: the train brakes before it gets there; the top
    // speed comes where the two curves meet, v² = 2 d a b / (a + b).
    const double peak = std::sqrt(2 * 500 * a * b / (a + b));
    // Through the middle without stopping: accelerated to 100 at 1286 m, then at 100.
    const double halfway = v100 / a + (2500 - v100 * v100 / (2 * a)) / v100;
    // 100 m of 160 between two stretches of 100: the train gains speed over
    // the first 62.5 m and brakes back to 100 over the rest.
    const double top = std::sqrt(v100 * v100 + 2 * a * (100 * b / (a + b)));
    const double brief_gain = rest_to_rest(5000, v100) - 100 / v100 + 200 / (v100 + top);

    const Row rows[] = {
        {"constant limit, rest to rest", {{0, 5000, 100}}, {{0, true}, {5000, true}}, {0, rest_to_rest(5000, v100)}},
        {"a leg too short to reach the limit", {{0, 500, 160}}, {{0, true}, {500, true}}, {0, peak / a + peak / b}},
        {"a slowdown on the way",
         {{0, 2000, 100}, {2000, 2500, 50}, {2500, 5000, 100}},
         {{0, true}, {5000, true}},
         {0, slowdown_leg}},
        {"a station passed halfway",
         {{0, 5000, 100}},
         {{0, true}, {2500, false}, {5000, true}},
         {0, halfway, rest_to_rest(5000, v100)}},
        {"a stop halfway",
         {{0, 5000, 100}},
         {{0, true}, {2500, true}, {5000, true}},
         {0, rest_to_rest(2500, v100), 2 * rest_to_rest(2500, v100)}},
        {"a short stretch of a higher limit",
         {{0, 2000, 100}, {2000, 2100, 160}, {2100, 5000, 100}},
         {{0, true}, {5000, true}},
         {0, brief_gain}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto times = passing_times(row.limits, row.points, {a, b});
        ASSERT_EQ(times.size(), row.expected.size());
        for (std::size_t i = 0; i < times.size(); ++i)
            EXPECT_NEAR(times[i], row.expected[i], 1e-6) << "point " << i;
    }
}

TEST(RunningTime, StretchesThatCannotBeRun)
{
    struct Case {
        std::string name;
        std::vector<LimitStretch> limits;
        Braking rates;
    };
    const Case cases[] = {
        {"a limit of 0 km/h", {{0, 1000, 100}, {1000, 1050, 0}, {1050, 3000, 100}}, {a, b}},
        {"a gap in the limits", {{0, 1000, 100}, {2000, 3000, 100}}, {a, b}},
        {"no braking", {{0, 3000, 100}}, {a, 0}},
        {"no acceleration", {{0, 3000, 100}}, {0, b}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto times = passing_times(c.limits, {{0, true}, {3000, true}}, c.rates);
        EXPECT_EQ(times[0], 0);
        EXPECT_TRUE(std::isinf(times[1])) << times[1];
    }
    EXPECT_TRUE(passing_times({{0, 100, 50}}, {}, {a, b}).empty());
}

} // namespace
} // namespace autore
