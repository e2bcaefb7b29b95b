#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tratta::testing {
namespace {

struct CellWant {
    int64_t index;
    uint8_t kind;
    int16_t value, value2, value3;
};

struct SlowdownCase {
    const char* line;
    std::vector<CellWant> cells;  // cells written (every other cell stays empty)
    int32_t error = 0;
};

// 220000 m of route: cells 0 to 4540.
constexpr int32_t long_route_m = 220000;

const SlowdownCase slowdown_cases[] = {
    {"rallentamento,  209000,    80,  700, 0,  1,  0",
     {{4157, 4, 80, 0, 0}, {4181, 3, 80, 0, 0}, {4195, 2, 80, 0, 0}, {4156, 5, 1, 0, 0},
      {4155, 5, 2, 0, 0}, {4154, 5, 3, 0, 0}, {4153, 5, 4, 0, 0}}},
    {"rallentamento,  209800,    60, 1400, 0,  0,  60",
     {{4173, 4, 60, 60, 0}, {4197, 3, 60, 60, 0}, {4225, 2, 60, 60, 0}}},
    // The fourth value goes into the start and end cells; a second speed into every cell.
    {"rallentamento, 5000, 60, 500, 7, 1, 50",
     {{77, 4, 60, 50, 0}, {101, 3, 60, 50, 7}, {111, 2, 60, 50, 7}, {76, 5, 1, 1, 0},
      {75, 5, 2, 2, 0}, {74, 5, 3, 3, 0}, {73, 5, 4, 4, 0}}},
    // At 1500 m or less there is no warning point and so no marker cell.
    {"rallentamento, 1500, 60, 200, 0, 1, 0", {{31, 3, 60, 0, 0}, {35, 2, 60, 0, 0}}},
    // Just above 1500 m the warning point and the first marker cell are one cell.
    {"rallentamento, 1575, 60, 200, 0, 1, 0",
     {{8, 4, 60, 0, 0}, {32, 3, 60, 0, 0}, {36, 2, 60, 0, 0}}, 20},
    // The values keep their low 16 bits.
    {"rallentamento, 5000, 65596, 500, -1, 0, 0", {{77, 4, 60, 0, 0}, {101, 3, 60, 0, -1}, {111, 2, 60, 0, -1}}},
    // A length of 0 puts the end into the start cell, which the start then takes.
    {"rallentamento, 5000, 60, 0, 3, 0, 0", {{77, 4, 60, 0, 0}, {101, 3, 60, 0, 3}}},
    // An end cell outside the grid: nothing is written.
    {"rallentamento, 5000, 60, -6000, 0, 1, 0", {}, 26},
    {"rallentamento, 200000, 60, 30000, 0, 1, 0", {}, 26},
    // The end cell may be the last cell of the grid.
    {"rallentamento, 200000, 60, 26950, 0, 0, 0", {{3977, 4, 60, 0, 0}, {4001, 3, 60, 0, 0}, {4540, 2, 60, 0, 0}}},
};

class SlowdownPlacing : public ::testing::TestWithParam<SlowdownCase> {};

TEST_P(SlowdownPlacing, WritesItsCells)
{
    const SlowdownCase& c = GetParam();
    TrainRun run(long_route_m);
    run.read_lines({c.line});
    EXPECT_EQ(run.state.error_code, c.error);
    RouteCells expected;
    expected.create(long_route_m);
    for (const CellWant& w : c.cells) {
        RouteCell& e = expected.at(w.index);
        e.kind = w.kind;
        e.value = w.value;
        e.value2 = w.value2;
        e.value3 = w.value3;
    }
    for (int64_t i = 0; i <= expected.last(); ++i) {
        RouteCell got = run.cell(i);
        got.speed5 = 0; // the profiles completed after the read
        got.adhesion = 0;
        if (!(got == expected.at(i)))
            ADD_FAILURE() << "cell " << i << " kind " << int{got.kind} << " value " << got.value;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, SlowdownPlacing, ::testing::ValuesIn(slowdown_cases), RowName{});

struct TakenCase {
    std::vector<int64_t> taken; // cells holding a speed indicator beforehand
    int32_t error;
};

// A slowdown at 5000 m over 500 m: warning point 77, start 101, end 111,
// marker cells 76 to 73. The warning point, start and end are tested in this
// order before anything is written.
TEST(Slowdown, OnTakenCellsGivesTheErrorOfTheFirstTakenCell)
{
    const TakenCase cases[] = {
        {{77}, 17}, {{101}, 18}, {{111}, 19}, {{77, 101, 111}, 17}, {{101, 111}, 18},
        {{73}, 20}, {{76}, 20},
    };
    for (const TakenCase& c : cases) {
        SCOPED_TRACE(c.error);
        TrainRun run;
        for (const int64_t t : c.taken)
            run.cell(t).kind = kind_speed_indicator;
        run.read_lines({"rallentamento, 5000, 60, 500, 0, 1, 0", "numero vetture, 12"});
        EXPECT_EQ(run.state.error_code, c.error);
        EXPECT_EQ(run.state.error_at_m, 5000);
        EXPECT_EQ(run.error_place().line, 2);
        EXPECT_EQ(run.record(84).at_m, 0);
        EXPECT_FALSE(run.train_file_left());
        // Errors before any write leave the grid as it was; a taken marker
        // cell comes after the warning point, start and end are written.
        const bool written = c.error == 20;
        for (const int64_t i : {77, 101, 111}) {
            if (std::find(c.taken.begin(), c.taken.end(), i) == c.taken.end()) {
                EXPECT_EQ(run.cell(i).kind == kind_none, !written) << i;
            }
        }
        EXPECT_NE(run.cell(74).kind, kind_slowdown_marker);
    }
}

TEST(Slowdown, OnMountainMarkersIsAccepted)
{
    TrainRun run;
    for (const int64_t i : {77, 101, 111, 76, 75, 74, 73})
        run.cell(i).kind = kind_mountain_marker;
    run.read_lines({"rallentamento, 5000, 60, 500, 0, 1, 0"});
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.cell(77).kind, kind_slowdown_warning);
    EXPECT_EQ(run.cell(101).kind, kind_slowdown_start);
    EXPECT_EQ(run.cell(111).kind, kind_slowdown_end);
    EXPECT_EQ(run.cell(73).kind, kind_slowdown_marker);
}

TEST(Slowdown, SecondSlowdownOnTheSameCellsGivesError17)
{
    TrainRun run;
    run.read_lines({"rallentamento, 5000, 60, 500, 0, 0, 0", "rallentamento, 5000, 80, 500, 0, 0, 0"});
    EXPECT_EQ(run.state.error_code, 17);
    EXPECT_EQ(run.cell(101).value, 60);
}

} // namespace
} // namespace tratta::testing
