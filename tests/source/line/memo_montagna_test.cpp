// Mountain sides: the side code of the stretch and its markers.

#include "line_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::run_body;

struct SideSpan {
    int64_t first;
    int64_t last;
    int side;
};

struct MountainCase {
    const char* what;
    int32_t length_m;
    std::vector<std::string> lines;
    std::vector<SideSpan> sides;    // cells outside every span keep side 0
    std::vector<int64_t> markers;   // the cells of kind 11, all of them
};

std::vector<int64_t> every_fourth(int64_t from, int64_t to)
{
    std::vector<int64_t> out;
    for (int64_t i = from; i <= to; i += 4)
        out.push_back(i);
    return out;
}

const MountainCase mountain_cases[] = {
    {"a mountain with markers", 20000, {"montagna,   8750,  11050,  12"}, {{175, 220, 2}}, every_fourth(178, 218)},
    {"a mountain without markers", 300000, {"montagna,   292600,  292850,  2"}, {{5852, 5856, 2}}, {}},
    {"a code up to 10 is stored as written", 1000, {"montagna, 100, 300, 10"}, {{2, 5, 10}}, {}},
    {"side codes keep their low 8 bits", 1000, {"montagna, 100, 300, 300"}, {{2, 5, 34}}, every_fourth(5, 5)},
    {"150 m after the previous end: side 3", 2000,
     {"montagna, 100, 300, 2", "montagna, 450, 600, 12"}, {{2, 5, 2}, {9, 11, 3}}, {}},
    {"200 m after the previous end keeps its code", 2000,
     {"montagna, 100, 300, 2", "montagna, 500, 900, 12"}, {{2, 5, 2}, {10, 17, 2}}, {13, 17}},
    {"an overlapping mountain takes side 3", 2000,
     {"montagna, 100, 600, 2", "montagna, 400, 700, 2"}, {{2, 7, 2}, {8, 13, 3}}, {}},
    {"a stretch shorter than a cell writes nothing but still counts", 2000,
     {"montagna, 100, 120, 5", "montagna, 250, 450, 2"}, {{5, 8, 3}}, {}},
    {"a stretch beyond the grid is cut at cell N", 0, {"montagna, 6800, 99999999, 12"}, {{136, 140, 2}}, {139}},
};

class Mountains : public ::testing::TestWithParam<MountainCase> {};

TEST_P(Mountains, WriteTheSideAndTheMarkers)
{
    const MountainCase& c = GetParam();
    const auto run = run_body(c.length_m, c.lines);
    ASSERT_EQ(run->state.error_code, 0);
    std::vector<int> side(run->state.cells.cells().size(), 0);
    for (const auto& span : c.sides)
        for (int64_t i = span.first; i <= span.last; ++i)
            side[static_cast<std::size_t>(i)] = span.side;
    std::vector<int64_t> markers;
    for (std::size_t i = 0; i < side.size(); ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        const RouteCell& cell = run->state.cells.cells()[i];
        ASSERT_EQ(cell.side, side[i]);
        if (cell.kind == kind_mountain_marker)
            markers.push_back(static_cast<int64_t>(i));
    }
    EXPECT_EQ(markers, c.markers);
}

void PrintTo(const MountainCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Lines, Mountains, ::testing::ValuesIn(mountain_cases));

TEST(Mountains, ThereIsNoLimitToTheirNumber)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 120; ++i)
        lines.push_back("montagna, " + std::to_string(1000 * i) + ", " + std::to_string(1000 * i + 500) + ", 2");
    lines.push_back("montagna, 119600, 119800, 4"); // 100 m after the last end
    const auto run = run_body(130000, lines);
    ASSERT_EQ(run->state.error_code, 0);
    EXPECT_EQ(run->cell(20 * 119).side, 2);
    EXPECT_EQ(run->cell(2392).side, 3);
}

TEST(Mountains, MarkersGoOnlyIntoEmptyCellsAndBoardsMayReplaceThem)
{
    const auto run = run_body(2000, {"indicatori_vmax, 150, 90, 90, 90, 0, , , , 0", // cell 4
                                     "montagna, 50, 500, 12",                       // cells 1 to 9, markers 4 and 8
                                     "cartello_indicatore, 350, (Galleria)"});       // cell 8
    ASSERT_EQ(run->state.error_code, 0);
    EXPECT_EQ(run->cell(4).kind, kind_speed_indicator);
    EXPECT_EQ(run->cell(8).kind, kind_sign_board);
    EXPECT_EQ(run->cell(8).side, 2);
    EXPECT_EQ(run->cell(4).side, 2);
}

} // namespace
} // namespace tratta
