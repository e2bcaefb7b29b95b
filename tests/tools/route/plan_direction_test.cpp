// Which way the track mainly runs: the plot turns the route by it, and the
// route page turns the stretch in view the same way.
#include "autore/route/plan_direction.hpp"
#include "tools/route/plan_points.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace autore {
namespace {

using testing::track;

// 10 km northward in points 50 m apart, then 20 km eastward in one straight
// piece of two points: by length the line runs mostly east (counted by its
// points it would run north, 0.075 east and 0.997 north).
std::vector<std::pair<double, double>> north_in_many_points_then_east_in_two()
{
    std::vector<std::pair<double, double>> xy;
    for (int i = 0; i <= 200; ++i)
        xy.emplace_back(0, i * 50.0);
    xy.emplace_back(20000, 10000);
    return xy;
}

TEST(PlanDirection, TheAxisTheTrackSpreadsAlongByLengthFromStartToEnd)
{
    const struct {
        const char* what;
        std::vector<std::pair<double, double>> xy;
        double ux, uy;
    } rows[] = {
        {"two points eastward", {{0, 0}, {5000, 0}}, 1, 0},
        {"two points northward", {{100, 100}, {100, 900}}, 0, 1},
        {"westward: from start to end", {{0, 0}, {-3000, 0}}, -1, 0},
        {"many points north, then a longer piece east", north_in_many_points_then_east_in_two(), 0.9622, 0.2723},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const PlanDirection d = main_direction(track(row.xy));
        EXPECT_NEAR(d.ux, row.ux, 2e-3);
        EXPECT_NEAR(d.uy, row.uy, 2e-3);
        EXPECT_NEAR(std::hypot(d.ux, d.uy), 1, 1e-12);
    }
    // One point or none gives no turn at all.
    EXPECT_EQ(main_direction(track({{5, 5}})).ux, 1);
    EXPECT_EQ(main_direction({}).uy, 0);
}

} // namespace
} // namespace autore
