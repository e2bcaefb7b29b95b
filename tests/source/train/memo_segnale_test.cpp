#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace tratta::testing {
namespace {

struct SignalCase {
    const char* line;
    int64_t cell;
    int16_t value, value2, value3, value4;
    uint8_t aux;
    std::vector<std::pair<int64_t, uint8_t>> approach; // cell, approach number
};

const SignalCase signal_cases[] = {
    {"segnale,    1050,   2, 4, 1,  1, 0,    2,  2,1,1, 0", 22, 42, 11, 11, 8, 0,
     {{20, 81}, {18, 82}, {16, 83}, {14, 84}}},
    {"segnale,    8350,   2, 4, 0,  0, 0,    0,  0,0,0, 199", 168, 40, 0, 0, 6, 199,
     {{166, 61}, {164, 62}, {162, 63}, {160, 64}}},
    // An extra value of 1 to 100 is raised to 101.
    {"segnale, 1050, 2, 0,0,0,0, 1, 0,0,0, 50", 22, 0, 0, 0, 7, 101,
     {{20, 71}, {18, 72}, {16, 73}, {14, 74}}},
    {"segnale, 1050, 2, 0,0,0,0, 1, 0,0,0, 100", 22, 0, 0, 0, 7, 101, {{20, 71}}},
    {"segnale, 1050, 2, 0,0,0,0, 1, 0,0,0, 101", 22, 0, 0, 0, 7, 101, {{20, 71}}},
    // Only type 2 keeps the extra value.
    {"segnale, 1050, 3, 0,0,0,0, 1, 0,0,0, 199", 22, 0, 0, 0, 10, 0,
     {{20, 101}, {18, 102}, {16, 103}, {14, 104}}},
    // The values keep their low 16 bits, the extra value and the approach numbers their low 8.
    {"segnale, 1050, 2, 3277,0,0,0, 0, 0,0,0, 300", 22, -32766, 0, 0, 6, 44, {{20, 61}}},
    {"segnale, 1050, 9, 0,0,0,0, 0, 0,0,0, 0", 22, 0, 0, 0, 27, 0, {{20, 15}, {14, 18}}},
    // Near the start of the grid the approach cells before cell 0 are left out.
    {"segnale, 100, 2, 0,0,0,0, 2, 0,0,0, 0", 3, 0, 0, 0, 8, 0, {{1, 81}}},
    {"segnale, 0, 2, 0,0,0,0, 2, 0,0,0, 0", 1, 0, 0, 0, 8, 0, {}},
};

class SignalPlacing : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalPlacing, FillsTheSignalCellAndItsApproachCells)
{
    const SignalCase& c = GetParam();
    TrainRun run;
    run.read_lines({c.line});
    ASSERT_EQ(run.state.error_code, 0);
    const RouteCell& sig = run.cell(c.cell);
    EXPECT_EQ(sig.kind, kind_signal);
    EXPECT_EQ(sig.value, c.value);
    EXPECT_EQ(sig.value2, c.value2);
    EXPECT_EQ(sig.value3, c.value3);
    EXPECT_EQ(sig.value4, c.value4);
    EXPECT_EQ(sig.aux, c.aux);
    for (const auto& [index, number] : c.approach) {
        SCOPED_TRACE(index);
        EXPECT_EQ(run.cell(index).approach, number);
        EXPECT_EQ(run.cell(index).kind, kind_none);
    }
    // The cell of the position itself stays free for a code point.
    EXPECT_EQ(run.cell(c.cell - 1).kind, kind_none);
}

INSTANTIATE_TEST_SUITE_P(Lines, SignalPlacing, ::testing::ValuesIn(signal_cases), RowName{});

TEST(Signal, OnAMountainMarkerTakesTheCellAndKeepsItsStretch)
{
    TrainRun run;
    run.cell(22) = RouteCell{.kind = kind_mountain_marker, .value = 3, .approach = 5, .side = 2,
                             .gradient = 104};
    run.read_lines({"segnale, 1050, 2, 4,1,1,0, 0, 2,1,1, 0"});
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.cell(22).kind, kind_signal);
    EXPECT_EQ(run.cell(22).value, 42);
    EXPECT_EQ(run.cell(22).approach, 5);
    EXPECT_EQ(run.cell(22).side, 2);
    EXPECT_EQ(run.cell(22).gradient, 104);
}

TEST(Signal, TwoSignals100MetresApartShareAnApproachCell)
{
    TrainRun run;
    run.read_lines({"segnale, 1050, 2, 4,1,1,0, 2, 2,1,1, 0", "segnale, 1150, 2, 3,0,0,0, 0, 0,0,0, 0"});
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.cell(22).kind, kind_signal);
    EXPECT_EQ(run.cell(22).value, 42);
    EXPECT_EQ(run.cell(22).approach, 61);
    EXPECT_EQ(run.cell(24).value, 30);
}

// A signal on a cell taken by any object but a mountain marker is refused
// whole and ends the read.
TEST(Signal, OnATakenCellEndsTheReadWithError16)
{
    for (const uint8_t kind : {kind_signal, kind_station_stop, kind_slowdown_start, kind_slowdown_end,
                               kind_code_point, kind_code_point_plain, kind_speed_indicator}) {
        SCOPED_TRACE(static_cast<int>(kind));
        TrainRun run;
        run.mark_profiles(99);
        run.cell(22).kind = kind;
        run.read_lines({"velocita, 0, 100", "segnale, 1050, 2, 4,1,1,0, 2, 2,1,1, 7",
                        "numero vetture, 12"});
        EXPECT_EQ(run.state.error_code, 16);
        EXPECT_EQ(run.state.error_at_m, 1050);
        EXPECT_EQ(run.error_place().file, SourceFile::train);
        EXPECT_EQ(run.error_place().line, 3);
        EXPECT_EQ(run.cell(22).kind, kind);
        EXPECT_EQ(run.cell(22).value, 0);
        EXPECT_EQ(run.cell(20).approach, 0);
        // The read stopped: no later line, no completion of the profiles.
        EXPECT_EQ(run.record(84).at_m, 0);
        EXPECT_EQ(run.cell(0).speed5, 99);
        EXPECT_FALSE(run.train_file_left());
    }
}

TEST(Signal, BeyondTheGridEndsTheReadButCompletesTheProfiles)
{
    TrainRun run; // cells 0 to 340: 16900 m is the last position accepted
    run.read_lines({"velocita, 0, 100", "segnale, 16900, 2, 1,0,0,0, 0, 0,0,0, 0",
                    "segnale, 16950, 2, 1,0,0,0, 0, 0,0,0, 0", "numero vetture, 12"});
    EXPECT_EQ(run.state.error_code, 15);
    EXPECT_EQ(run.state.error_at_m, 16950);
    EXPECT_EQ(run.cell(339).kind, kind_signal);
    EXPECT_EQ(run.cell(337).speed5, 20);
    EXPECT_EQ(run.record(84).at_m, 0);
}

TEST(Signal, BeforeTheGridStartIsRefusedLikeOneBeyondIt)
{
    TrainRun run;
    run.read_lines({"segnale, -50, 2, 1,0,0,0, 0, 0,0,0, 0"});
    EXPECT_EQ(run.state.error_code, 15);
    EXPECT_EQ(run.state.error_at_m, -50);
    EXPECT_EQ(run.cell(0).kind, kind_none);
}

} // namespace
} // namespace tratta::testing
