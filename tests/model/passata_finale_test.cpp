#include "model/passata_finale.hpp"

#include "model/run_state.hpp"
#include "support/row_name.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tratta::testing {
namespace {

struct CellSet {
    int64_t index;
    uint8_t kind;
    int16_t value = 0;
};

struct PassCase {
    const char* name;
    std::vector<CellSet> grid;    // the grid before the pass
    std::vector<CellSet> changed; // every cell the pass changes, as it leaves it
    int32_t error = 0;
    int32_t at_m = 0;
};

// A code point of the finishing pass.
CellSet code(int64_t index) { return {index, kind_code_point, 180}; }

constexpr uint8_t signal = kind_signal;
constexpr uint8_t board = kind_speed_indicator; // any object that takes a cell
constexpr uint8_t warning = kind_slowdown_warning;
constexpr uint8_t start = kind_slowdown_start;
constexpr uint8_t end = kind_slowdown_end;
constexpr uint8_t point = kind_code_point;
constexpr int16_t fast = 120; // km/h: a slowdown with no code points inside it

// Cells 0 to 200.
const PassCase pass_cases[] = {
    // Rule A: signals up to 20 cells before a warning point.
    {"signal before a warning point", {{40, warning}, {30, signal}}, {code(29)}},
    {"the cell before the signal is taken", {{40, warning}, {30, signal}, {29, board}}, {code(28)}},
    {"a mountain marker counts as free", {{40, warning}, {30, signal}, {29, kind_mountain_marker}}, {code(29)}},
    {"a code point before the signal and a free cell before it",
     {{40, warning}, {30, signal}, {29, point, 300}}, {code(28)}},
    {"a code point of 200 is lowered to 180", {{40, warning}, {30, signal}, {29, point, 200}, {28, board}},
     {code(29)}},
    {"a code point of 150 keeps its value", {{40, warning}, {30, signal}, {29, point, 150}, {28, board}}, {}},
    {"a code point two cells before the signal",
     {{40, warning}, {30, signal}, {29, board}, {28, point, 400}}, {code(28)}},
    {"no room before the signal", {{40, warning}, {30, signal}, {29, board}, {28, board}}, {}, 11, 1500},
    {"every signal of the window", {{40, warning}, {30, signal}, {35, signal}}, {code(29), code(34)}},
    {"the farthest signal 20 cells away", {{40, warning}, {20, signal}}, {code(19)}},
    {"a signal 21 cells away is out of the window", {{40, warning}, {19, signal}}, {}},
    {"a signal in cell 3 may put the code point into cell 1",
     {{6, warning}, {3, signal}, {2, board}}, {code(1)}},
    {"a signal in cell 2 is out of the window", {{6, warning}, {2, signal}}, {}},

    // Rule B: three windows before a slowdown start.
    {"three code points before a start", {{100, start, fast}, {130, end}}, {code(95), code(89), code(82)}},
    {"the near window's first free candidate",
     {{100, start, fast}, {130, end}, {95, board}, {94, board}}, {code(93), code(89), code(82)}},
    {"a window with no free cell",
     {{100, start, fast}, {130, end}, {89, board}, {88, board}, {87, board}}, {code(95), code(82)}, 12, 5000},
    {"a start in cell 7 is too near the grid's start", {{7, start, fast}, {30, end}}, {}},
    {"a start in cell 8 may put the code point into cell 1",
     {{8, start, fast}, {30, end}, {3, board}, {2, board}}, {code(1)}},
    {"a start in cell 10: only the near window", {{10, start, fast}, {30, end}}, {code(5)}},
    {"a start in cell 14: near and middle", {{14, start, fast}, {30, end}}, {code(9), code(3)}},
    {"a start in cell 21: all three", {{21, start, fast}, {40, end}}, {code(16), code(10), code(3)}},

    // Rule C: every 8 cells through a slowdown below 110 km/h.
    {"code points every 8 cells", {{100, start, 60}, {130, end}},
     {code(95), code(89), code(82), code(108), code(116), code(124)}},
    {"a taken cell moves the code point and the ones after it back",
     {{100, start, 60}, {130, end}, {108, board}},
     {code(95), code(89), code(82), code(107), code(115), code(123)}},
    {"a taken cell and the one before it move the code point on",
     {{100, start, 60}, {130, end}, {108, board}, {107, board}},
     {code(95), code(89), code(82), code(109), code(117), code(125)}},
    {"no room inside the slowdown: no further code point",
     {{100, start, 60}, {130, end}, {107, board}, {108, board}, {109, board}},
     {code(95), code(89), code(82)}, 13, 5400},
    {"a code point due on the end cell goes before it", {{100, start, 60}, {132, end}},
     {code(95), code(89), code(82), code(108), code(116), code(124), code(131)}},
    {"or just beyond it", {{100, start, 60}, {132, end}, {131, board}},
     {code(95), code(89), code(82), code(108), code(116), code(124), code(133)}},
    {"110 km/h gets no code points inside", {{100, start, 110}, {130, end}}, {code(95), code(89), code(82)}},
    {"a walk that finds no end stops at the grid's end", {{185, start, 60}},
     {code(180), code(174), code(167), code(193)}},

    // Rule D: before the first signal within 12 cells after a slow slowdown.
    {"a signal after the slowdown", {{100, start, 60}, {130, end}, {135, signal}},
     {code(95), code(89), code(82), code(108), code(116), code(124), code(134)}},
    {"the cell before the signal is taken", {{100, start, 60}, {130, end}, {135, signal}, {134, board}},
     {code(95), code(89), code(82), code(108), code(116), code(124), code(133)}},
    {"no room before the signal", {{100, start, 60}, {130, end}, {135, signal}, {134, board}, {133, board}},
     {code(95), code(89), code(82), code(108), code(116), code(124)}, 13, 6500},
    {"a signal 12 cells after the end", {{100, start, 60}, {130, end}, {142, signal}},
     {code(95), code(89), code(82), code(108), code(116), code(124), code(141)}},
    {"a signal 13 cells after the end is too far", {{100, start, 60}, {130, end}, {143, signal}},
     {code(95), code(89), code(82), code(108), code(116), code(124)}},
    {"a fast slowdown gets no code point before the next signal",
     {{100, start, fast}, {130, end}, {135, signal}}, {code(95), code(89), code(82)}},
    {"a signal in the grid's last cell", {{180, start, 60}, {196, end}, {200, signal}},
     {code(175), code(169), code(162), code(188), code(195), code(199)}},

    // Every rule sees the code points placed before it.
    {"a later error overwrites an earlier one",
     {{40, warning}, {30, signal}, {29, board}, {28, board}, {100, start, fast}, {130, end}, {89, board},
      {88, board}, {87, board}},
     {code(95), code(82)}, 12, 5000},
    {"rule B takes the cell before the signal first",
     {{100, start, fast}, {130, end}, {110, warning}, {96, signal}},
     {code(95), code(94), code(89), code(82)}},
};

class FinishingPass : public ::testing::TestWithParam<PassCase> {};

TEST_P(FinishingPass, PlacesCodePoints)
{
    const PassCase& c = GetParam();
    SCOPED_TRACE(c.name);
    RunState state;
    state.cells.create(3000); // cells 0 to 200
    state.key_place = {SourceFile::train, 12, 1, 9}; // the last key the readers read
    for (const CellSet& set : c.grid) {
        state.cells.at(set.index).kind = set.kind;
        state.cells.at(set.index).value = set.value;
    }
    RouteCells expected = state.cells;
    for (const CellSet& set : c.changed) {
        expected.at(set.index).kind = set.kind;
        expected.at(set.index).value = set.value;
    }

    passata_finale(state);

    for (int64_t i = 0; i <= expected.last(); ++i) {
        const RouteCell& got = state.cells.at(i);
        EXPECT_TRUE(got == expected.at(i)) << "cell " << i << ": kind " << int{got.kind} << " value " << got.value;
    }
    EXPECT_EQ(state.error_code, c.error);
    EXPECT_EQ(state.error_at_m, c.at_m);
    if (c.error != 0) {
        // The pass reads no source: its errors name no line.
        ASSERT_FALSE(state.errors.empty());
        EXPECT_EQ(state.errors.back().place.file, SourceFile::none);
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, FinishingPass, ::testing::ValuesIn(pass_cases), RowName{});

TEST(Minimo, TheSmallerOfTwoTheFirstOnATie)
{
    EXPECT_EQ(minimo(200, 180), 180);
    EXPECT_EQ(minimo(150, 180), 150);
    EXPECT_EQ(minimo(180, 180), 180);
    EXPECT_EQ(minimo(-5, 180), -5);
}

} // namespace
} // namespace tratta::testing
