// The plan of the track, walked metre by metre from the curve lines.

#include "line_fixture.hpp"
#include "source/line/track_plan.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::run_body;

TEST(TrackPlan, WithoutCurvesTheTrackRunsStraightUpTheYAxis)
{
    const auto run = run_body(0, {});
    const LineProfile& t = run->state.profile;
    ASSERT_EQ(t.last_m(), 7000);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(t.tag(0, r), ProfileTag::int16);
        EXPECT_EQ(t.tag(1, r), ProfileTag::int16);
        EXPECT_EQ(t.tag(6999, r), ProfileTag::empty);
        EXPECT_EQ(t.tag(7000, r), ProfileTag::empty);
    }
    for (int64_t m = 0; m <= 6998; ++m) {
        SCOPED_TRACE(m);
        ASSERT_EQ(t.get(m, 0), 0.0);
        ASSERT_EQ(t.get(m, 1), static_cast<double>(m));
        if (m >= 2) {
            ASSERT_EQ(t.tag(m, 0), ProfileTag::real);
        }
    }
}

struct FirstPointsCase {
    const char* line;
    double x2, y2, x3, y3;
};

TEST(TrackPlan, ACurveFromTheOriginTurnsTheFirstStep)
{
    const FirstPointsCase cases[] = {
        {"curvad4, 0, 100", 0.001, 2.0, 0.003, 2.999999},
        {"curvas4, 0, 100", -0.001, 2.0, -0.003, 2.999999},
        {"curvad1, 0, 2", 0.0001, 2.0, 0.0002, 3.0}, // metre 3 goes straight on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto run = run_body(1000, {c.line});
        const LineProfile& t = run->state.profile;
        EXPECT_DOUBLE_EQ(t.get(2, 0), c.x2);
        EXPECT_DOUBLE_EQ(t.get(2, 1), c.y2);
        EXPECT_DOUBLE_EQ(t.get(3, 0), c.x3);
        EXPECT_DOUBLE_EQ(t.get(3, 1), c.y3);
    }
}

TEST(TrackPlan, CurveKeysGiveTheirClassAndSide)
{
    const struct {
        const char* key;
        std::optional<double> k;
    } cases[] = {
        {"curvad1", 0.0001}, {"curvad2", 0.0002}, {"curvad3", 0.0004}, {"curvad4", 0.001},
        {"curvad5", 0.002},  {"curvad6", 0.003},  {"curvas1", -0.0001}, {"curvaS3", -0.0004},
        {"CURVAD5", 0.002},  {"curvad21", 0.0001}, {"curvad", std::nullopt}, {"curvas7", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(curve_curvature(c.key), c.k);
    }
}

// The curvature the walk applies at each metre, in spans.
struct Turn {
    int64_t first;
    int64_t last;
    double k;
};

struct WalkCase {
    const char* what;
    std::vector<std::string> lines;
    std::vector<Turn> turns; // every other metre up to G - 2 is a straight step
};

const WalkCase walk_cases[] = {
    {"a curve bends the metres after its start up to its end", {"curvad3, 1000, 200"}, {{1001, 1200, 0.0004}}},
    {"a curve of length 0 turns nothing", {"curvad3, 1000, 0"}, {}},
    {"touching curves turn without a straight metre between them", {"curvad3, 1000, 200", "curvas2, 1200, 100"},
     {{1001, 1200, 0.0004}, {1201, 1300, -0.0002}}},
    {"a curve starting behind the cursor turns from the cursor on", {"curvad3, 1000, 200", "curvas1, 1100, 300"},
     {{1001, 1200, 0.0004}, {1201, 1400, -0.0001}}},
    {"a curve ending behind the cursor changes nothing", {"curvad3, 1000, 200", "curvas6, 500, 150"},
     {{1001, 1200, 0.0004}}},
    {"a curve running past G - 2 is cut there", {"curvad2, 6800, 5000"}, {{6801, 6998, 0.0002}}},
};

class Walk : public ::testing::TestWithParam<WalkCase> {};

// Each point is the one before plus the previous step, turned inside a
// curve, with the step taken from the two stored points before it, in this
// exact order of operations.
TEST_P(Walk, EveryPointFollowsFromTheTwoStoredBeforeIt)
{
    const WalkCase& c = GetParam();
    const auto run = run_body(0, c.lines);
    ASSERT_EQ(run->state.error_code, 0);
    const LineProfile& t = run->state.profile;
    const int64_t last = t.last_m() - 2;
    std::vector<double> k(static_cast<std::size_t>(t.last_m() + 1), 0.0);
    std::vector<bool> curved(k.size(), false);
    for (const auto& turn : c.turns)
        for (int64_t m = turn.first; m <= turn.last; ++m) {
            k[static_cast<std::size_t>(m)] = turn.k;
            curved[static_cast<std::size_t>(m)] = true;
        }
    for (int64_t m = 2; m <= last; ++m) {
        SCOPED_TRACE(m);
        const double dx = t.get(m - 1, 0) - t.get(m - 2, 0);
        const double dy = t.get(m - 1, 1) - t.get(m - 2, 1);
        const double km = k[static_cast<std::size_t>(m)];
        if (curved[static_cast<std::size_t>(m)]) {
            ASSERT_EQ(t.get(m, 0), t.get(m - 1, 0) + (dx + km * dy));
            ASSERT_EQ(t.get(m, 1), t.get(m - 1, 1) + (dy - km * dx));
        } else {
            ASSERT_EQ(t.get(m, 0), t.get(m - 1, 0) + dx);
            ASSERT_EQ(t.get(m, 1), t.get(m - 1, 1) + dy);
        }
    }
    EXPECT_EQ(t.tag(last + 1, 0), ProfileTag::empty);
    EXPECT_EQ(t.tag(last + 2, 1), ProfileTag::empty);
}

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Curves, Walk, ::testing::ValuesIn(walk_cases));

TEST(TrackPlan, ARightCurveTurnsTowardsPositiveXAndTheHeadingCarriesOn)
{
    const auto run = run_body(0, {"curvad6, 100, 500"});
    const LineProfile& t = run->state.profile;
    EXPECT_EQ(t.get(100, 0), 0.0);
    EXPECT_GT(t.get(600, 0), 0.0);
    // After the curve the step stays the one it ended with.
    const double dx = t.get(600, 0) - t.get(599, 0);
    EXPECT_NEAR(t.get(1600, 0) - t.get(1599, 0), dx, 1e-9);
    EXPECT_GT(dx, 0.5);
}

} // namespace
} // namespace tratta
