// The windows the route page lays its plan in: the widest is the frame of the
// route's picture, the others turn and frame the stretch of track they cover,
// and the kilometre labels read the official count.
#include "autore/route_page/plan_windows.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace autore {
namespace {

// 4 km east, then 4 km north: the track metre by metre.
std::vector<PlanVertex> corner_track()
{
    std::vector<PlanVertex> out;
    for (int64_t m = 0; m <= 8000; ++m)
        out.push_back({m, static_cast<double>(std::min<int64_t>(m, 4000)), static_cast<double>(std::max<int64_t>(m - 4000, 0))});
    return out;
}

TEST(PlanWindows, StretchOfALevelWithItsEndsBetweenPoints)
{
    const std::vector<PlanVertex> level{{0, 0, 0}, {10, 10, 0}, {20, 10, 10}};
    const struct {
        int64_t from, to;
        std::vector<std::array<double, 3>> points; // x, y, m
    } rows[] = {
        {5, 15, {{5, 0, 5}, {10, 0, 10}, {10, 5, 15}}},
        {0, 20, {{0, 0, 0}, {10, 0, 10}, {10, 10, 20}}},
        {10, 10, {{10, 0, 10}}},
        {-5, 3, {{0, 0, 0}, {3, 0, 3}}}, // cut at the track's ends
        {25, 30, {}},
        {15, 5, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.from) + ".." + std::to_string(row.to));
        const std::vector<PlanPoint> got = stretch_of(level, row.from, row.to);
        ASSERT_EQ(got.size(), row.points.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_DOUBLE_EQ(got[i].x, row.points[i][0]);
            EXPECT_DOUBLE_EQ(got[i].y, row.points[i][1]);
            EXPECT_EQ(got[i].m, static_cast<int64_t>(row.points[i][2]));
        }
    }
    EXPECT_TRUE(stretch_of({}, 0, 10).empty());
}

TEST(PlanWindows, EachWindowTurnedAndFramedByTheTrackItCovers)
{
    const std::vector<PlanVertex> points = corner_track();
    const auto levels = plan_levels(points, {0.05, 0.25, 1, 4, 16, 64});
    const RouteTrack picture{{{0, 0, 0}, {4000, 0, 4000}, {4000, 4000, 8000}}, {}};
    const PlanWindows w = plan_windows(picture, levels, {}, 8000);

    // Widest first, each over the square root of two, none under 800 m.
    std::vector<int64_t> spans;
    for (const WindowSize& s : w.sizes) {
        spans.push_back(s.span_m);
        if (s.span_m < 8000) {
            EXPECT_EQ(s.step_m, s.span_m / 4);
            EXPECT_EQ(s.frames.size(), static_cast<std::size_t>(8000 / s.step_m + 1));
        }
    }
    EXPECT_EQ(spans, (std::vector<int64_t>{8000, 5657, 4000, 2828, 2000, 1414, 1000}));
    // The widest is the picture's own frame.
    ASSERT_EQ(w.sizes[0].frames.size(), 1u);
    const PlanFrame whole = plan_frame(picture.plan, picture.run_out);
    EXPECT_EQ(w.sizes[0].frames[0].direction.ux, whole.direction.ux);
    EXPECT_EQ(w.sizes[0].frames[0].direction.uy, whole.direction.uy);
    EXPECT_EQ(w.sizes[0].frames[0].u1, whole.u1);
    EXPECT_EQ(w.sizes[0].frames[0].v0, whole.v0);

    const WindowSize& km1 = w.sizes.back(); // 1000 m windows every 250 m
    const double half = std::numbers::sqrt2 / 2;
    const struct {
        const char* what;
        std::size_t window;
        double ux, uy, along, across; // reach along and across the direction
    } rows[] = {
        {"on the eastward leg", 4, 1, 0, 1000, 0},
        {"on the northward leg", 28, 0, 1, 1000, 0},
        {"about the corner", 16, half, half, 500 * std::numbers::sqrt2, 250 * std::numbers::sqrt2},
        {"at the start: only the half beyond it", 0, 1, 0, 500, 0},
        {"at the end", 32, 0, 1, 500, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const PlanFrame& f = km1.frames.at(row.window);
        EXPECT_NEAR(f.direction.ux, row.ux, 1e-6);
        EXPECT_NEAR(f.direction.uy, row.uy, 1e-6);
        EXPECT_NEAR(f.u1 - f.u0, row.along, 1e-6);
        EXPECT_NEAR(f.v1 - f.v0, row.across, 1e-6);
    }
    EXPECT_TRUE(plan_windows({}, levels, {}, 8000).sizes.empty());
}

TEST(PlanWindows, ReachesInWholeMetresAlikeOnEveryPlatform)
{
    const struct {
        double metres;
        int64_t whole;
    } rows[] = {
        {0.0, 0}, {1e-12, 0}, {-1e-12, 0}, {0.0009, 0}, {0.002, 1}, {2.9999999999, 3}, {3.0000000001, 3}, {3.4, 4},
    };
    for (const auto& r : rows)
        EXPECT_EQ(whole_metres_up(r.metres), r.whole) << r.metres;
}

TEST(PlanWindows, KilometreLabelsOfTheOfficialCount)
{
    const auto levels = plan_levels(corner_track(), {0.05, 1, 16});
    const RouteTrack picture{{{0, 0, 0}, {4000, 0, 4000}, {4000, 4000, 8000}}, {}};
    // From 4 km on the count falls from 10 km.
    const PlanWindows w = plan_windows(picture, levels, {{4000, 10000, 1}}, 8000);
    ASSERT_GT(w.km_step_m, 0);
    for (const WindowSize& s : w.sizes) {
        SCOPED_TRACE(s.span_m);
        EXPECT_EQ(s.km_step_m % w.km_step_m, 0);
        EXPECT_GE(s.span_m / s.km_step_m, 4);
        EXPECT_LE(s.span_m / s.km_step_m, 16);
    }
    ASSERT_EQ(w.km.size(), static_cast<std::size_t>(8000 / w.km_step_m + 1));
    const auto km_at = [&](int64_t m) { return w.km.at(static_cast<std::size_t>(m / w.km_step_m)); };
    EXPECT_EQ(km_at(0), "0.000");
    EXPECT_EQ(km_at(3000), "3.000");
    EXPECT_EQ(km_at(4000), "6.000");
    EXPECT_EQ(km_at(8000), "2.000");
}

} // namespace
} // namespace autore
