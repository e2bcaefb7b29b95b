// The frame the plan is laid in: the track turned by its main direction, and
// how far it reaches along and across; the run-out past the route's end
// widens the frame but does not turn it.
#include "autore/route/plan_frame.hpp"
#include "tools/route/plan_points.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace autore {
namespace {

using testing::track;

TEST(PlanFrame, TurnedByTheTrackWithRoomForTheRunOut)
{
    const struct {
        const char* what;
        std::vector<std::pair<double, double>> route, run_out;
        double ux, uy, u0, u1, v0, v1;
    } rows[] = {
        {"eastward, no run-out", {{0, 0}, {10000, 0}}, {}, 1, 0, -5000, 5000, 0, 0},
        // 500 m of run-out turning north: to the left of an eastward run, up in the picture.
        {"eastward, run-out turning north", {{0, 0}, {10000, 0}}, {{10000, 0}, {10000, 500}}, 1, 0, -5000, 5000, 0, 500},
        // Running west, north lies to the right: the run-out turning north falls below.
        {"westward, run-out turning north", {{0, 0}, {-3000, 0}}, {{-3000, 0}, {-3000, 100}}, -1, 0, -1500, 1500, -100, 0},
        // A run-out longer than the route still does not turn it.
        {"northward, long run-out east", {{0, 0}, {0, 2000}}, {{0, 2000}, {9000, 2000}}, 0, 1, -1000, 1000, -9000, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const PlanFrame f = plan_frame(track(row.route), track(row.run_out));
        EXPECT_NEAR(f.direction.ux, row.ux, 1e-9);
        EXPECT_NEAR(f.direction.uy, row.uy, 1e-9);
        EXPECT_NEAR(f.u0, row.u0, 1e-6);
        EXPECT_NEAR(f.u1, row.u1, 1e-6);
        EXPECT_NEAR(f.v0, row.v0, 1e-6);
        EXPECT_NEAR(f.v1, row.v1, 1e-6);
    }
}

TEST(PlanFrame, ATrackOfOnePointIsAFrameOfNoSize)
{
    const PlanFrame f = plan_frame(track({{300, 400}}));
    EXPECT_EQ(f.direction.ux, 1);
    EXPECT_EQ(f.u0, f.u1);
    EXPECT_EQ(f.v0, f.v1);
}

} // namespace
} // namespace autore
