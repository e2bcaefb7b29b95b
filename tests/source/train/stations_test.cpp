#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tratta::testing {
namespace {

// A station line with the given position, kind, length and third flag; every
// other field 0 and the name "Sosta".
std::string station(int64_t at, int kind, int64_t length, int third_flag = 0)
{
    return "stazione, " + std::to_string(at) + ", " + std::to_string(kind) + ", " + std::to_string(length) +
           ", 0, 0, " + std::to_string(third_flag) + ", 0,0,0, 0,0,0, 0, 0, 0, 0, Sosta";
}

struct ZoneCase {
    std::string line;
    int32_t start_m, end_m;
    std::vector<int64_t> approach; // cells given 81, 82, 83, 84
    int64_t stop;                  // stop cell, or -1 for none
};

// Each case is the first station of its file (record 1).
const ZoneCase zone_cases[] = {
    {station(0, 8, 500), -500, 500, {8, 7, 6, 5}, 9},
    {station(3100, 12, 400), 2900, 3300, {64, 63, 62, 61}, 65},
    {station(3100, 12, 400, 1), 2900, 3350, {65, 64, 63, 62}, 66},
    {station(10000, 5, 300, 1), 9700, 10150, {}, 202},
    {station(10000, 6, 300), 9700, 10150, {}, 202},
    {station(10000, 7, 300, 1), 9700, 10300, {204, 203, 202, 201}, 205},
    {station(10000, 27, 400), 9800, 10200, {}, -1},
    {station(5000, 12, 0), 5000, 5000, {98, 97, 96, 95}, 99},
    {station(5000, 12, 0, 1), 5000, 5050, {99, 98, 97, 96}, 100},
    // The stop cell may be the grid's last cell.
    {station(16200, 12, 1600, 1), 15400, 17050, {339, 338, 337, 336}, 340},
    // Approach cells are written only above cell 1.
    {station(100, 12, 200), 0, 200, {2}, 3},
};

class StationZone : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(StationZone, SetsTheZoneAndItsCells)
{
    const ZoneCase& c = GetParam();
    TrainRun run;
    run.read_lines({c.line});
    ASSERT_EQ(run.state.error_code, 0);
    const ScenarioRecord& rec = run.record(1);
    EXPECT_EQ(rec.start_m, c.start_m);
    EXPECT_EQ(rec.end_m, c.end_m);
    EXPECT_EQ(rec.flag_d, 0); // never kept on the first station
    RouteCells expected;
    expected.create(10000);
    for (std::size_t k = 0; k < c.approach.size(); ++k)
        expected.at(c.approach[k]).approach = static_cast<uint8_t>(81 + k);
    if (c.stop >= 0) {
        expected.at(c.stop).kind = kind_station_stop;
        expected.at(c.stop).value = 1;
    }
    for (int64_t i = 0; i <= expected.last(); ++i) {
        RouteCell got = run.cell(i);
        got.speed5 = 0;
        got.adhesion = 0;
        EXPECT_TRUE(got == expected.at(i)) << "cell " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, StationZone, ::testing::ValuesIn(zone_cases), RowName{});

TEST(Station, FillsEveryFieldOfItsRecord)
{
    TrainRun run;
    run.read_lines({station(3100, 12, 400),
                    "stazione, 5000, 12, 600, 1, 1, 1, 11, 12, 13, 14, 15, 16, 17, 1, 2, 3, Bivio-Nord"});
    ASSERT_EQ(run.state.error_code, 0);
    ScenarioRecord want;
    want.kind = 12;
    want.start_m = 4700;
    want.end_m = 5350;
    want.at_m = 5000;
    want.flag_a = 1;
    want.text = "Bivio-Nord"; // a dash inside a name is no comment
    want.int_a = 11;
    want.int_b = 12;
    want.flag_b = 13;
    want.int_c = 14;
    want.int_d = 15;
    want.int_e = 16;
    want.flag_c = 17;
    want.flag_d = 1;
    want.flag_e = 1;
    want.time_s = 3723;
    EXPECT_EQ(run.record(2), want);
    EXPECT_EQ(run.cell(106).kind, kind_station_stop);
    EXPECT_EQ(run.cell(106).value, 2);
}

struct FlagCase {
    std::string second_station;
    uint8_t third_flag, second_flag;
};

TEST(Station, ClearsTheSecondAndThirdFlagsByLengthAndKind)
{
    const FlagCase cases[] = {
        {"stazione, 9000, 12, 600, 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, A", 1, 1},
        {"stazione, 9000, 12, 500, 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, A", 1, 0},
        {"stazione, 9000, 5, 600, 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, A", 0, 1},
        {"stazione, 9000, 8, 600, 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, A", 0, 1},
        {"stazione, 9000, 27, 600, 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, A", 1, 1},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.second_station);
        TrainRun run;
        run.read_lines({station(3100, 12, 400), c.second_station});
        ASSERT_EQ(run.state.error_code, 0);
        EXPECT_EQ(run.record(2).flag_d, c.third_flag);
        EXPECT_EQ(run.record(2).flag_e, c.second_flag);
    }
}

TEST(Station, TimeOfDayInSeconds)
{
    TrainRun run;
    run.read_lines({"stazione, 3100, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 19, 35, 20, Prima",
                    "stazione, 9000, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 22, 29, 0, Ultima"});
    ASSERT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.record(1).time_s, 70520);
    EXPECT_EQ(run.record(2).time_s, 80940);
}

TEST(Station, NameWithACommaEndsThereUnlessQuoted)
{
    TrainRun run;
    run.read_lines({"stazione, 3100, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, Santa Maria, vetture, 5",
                    "stazione, 9000, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, \"Borgo, Alto\""});
    ASSERT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.record(1).text, "Santa Maria");
    EXPECT_EQ(run.record(2).text, "Borgo, Alto");
    // The rest of the first name was read as keys.
    EXPECT_EQ(run.record(84).at_m, 5);
}

struct StationErrorCase {
    std::vector<std::string> lines;
    int32_t error, at_m;
    int32_t line; // source line of the station's key
};

// error_at_m stands at 777 before the read, so that "unchanged" shows.
TEST(Station, ErrorsEndTheReadWithTheirPositions)
{
    const StationErrorCase cases[] = {
        {{station(3125, 12, 400)}, 8, 3125, 2},
        {{station(3100, 12, 450)}, 9, 3100, 2},
        {{station(0, 12, 200)}, 24, 777, 2},
        {{station(3100, 12, 400), station(3800, 12, 400)}, 22, 3800, 3},
        {{station(3100, 12, 400), station(3800, 27, 400)}, 22, 3800, 3},
        {{station(16000, 8, 1100)}, 27, 16000, 2},
        {{station(3100, 12, 400), station(16250, 12, 400)}, 15, 16250, 3},
    };
    for (const StationErrorCase& c : cases) {
        SCOPED_TRACE(c.error);
        TrainRun run;
        run.state.error_at_m = 777;
        std::vector<std::string> lines = c.lines;
        lines.emplace_back("numero vetture, 12");
        run.read_lines(lines);
        EXPECT_EQ(run.state.error_code, c.error);
        EXPECT_EQ(run.state.error_at_m, c.at_m);
        EXPECT_EQ(run.error_place().line, c.line);
        EXPECT_EQ(run.record(84).at_m, 0);
        EXPECT_FALSE(run.train_file_left());
    }
}

TEST(Station, WhatStaysAfterEachError)
{
    TrainRun run;
    run.read_lines({station(3125, 12, 400)});
    EXPECT_EQ(run.record(1).at_m, 3125);
    EXPECT_EQ(run.record(1).kind, 0);

    TrainRun nine;
    nine.read_lines({station(3100, 12, 450)});
    EXPECT_EQ(nine.record(1).kind, 12);
    EXPECT_EQ(nine.record(1).end_m, 0);

    // A stop cell at the start of the grid: the record stays.
    TrainRun low;
    low.read_lines({station(0, 12, 200)});
    EXPECT_EQ(low.state.error_code, 24);
    EXPECT_EQ(low.record(1).end_m, 100);

    // A stop cell one beyond the grid writes no cell, not even the approach
    // cells inside it, but keeps the record.
    TrainRun far;
    far.read_lines({station(16000, 8, 1100)});
    EXPECT_EQ(far.state.error_code, 27);
    EXPECT_EQ(far.record(1).end_m, 17100);
    for (int64_t i = 330; i <= 340; ++i)
        EXPECT_EQ(far.cell(i).approach, 0) << i;

    // Spacing comes after the cells: the second station's cells stand.
    TrainRun close;
    close.read_lines({station(3100, 12, 400), station(3800, 12, 400)});
    EXPECT_EQ(close.record(2).end_m, 4000);
    EXPECT_EQ(close.cell(79).kind, kind_station_stop);
    EXPECT_EQ(close.cell(79).value, 2);
}

TEST(Station, SpacingOf350MetresIsAccepted)
{
    TrainRun run;
    run.read_lines({station(3100, 12, 400), station(3850, 12, 400)});
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.record(2).start_m, 3650);
}

TEST(Station, StopCellOnASignalTakesTheCell)
{
    TrainRun run;
    run.read_lines({"segnale, 3200, 2, 4,1,1,0, 0, 2,1,1, 0", station(3100, 12, 400)});
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.cell(65).kind, kind_station_stop);
    EXPECT_EQ(run.cell(65).value, 1);
    EXPECT_EQ(run.cell(65).value2, 11);
}

TEST(Station, FieldsOutOfTheirWidthFailTheRead)
{
    const std::string lines[] = {
        "stazione, 3100, 256, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, A",
        "stazione, 3100, 12, 400, 0, 0, 0, 32768,0,0, 0,0,0, 0, 0, 0, 0, A",
        "stazione, 3100, 12, 400, 0, 0, 0, 0,0,256, 0,0,0, 0, 0, 0, 0, A",
        "stazione, 3100, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 600000, 0, 0, A",
        "stazione, 3100, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, -600000, 0, 0, A",
        "stazione, 3100, 12, 400, 0, 0, 0, 0,0,0",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        TrainRun run;
        run.write(crlf_lines({"[generale]", line}));
        run.read();
        EXPECT_EQ(run.state.error_code, 25);
        EXPECT_FALSE(run.train_file_left());
    }
}

// 58 stations 1000 m apart on a route long enough for all of them.
std::vector<std::string> stations(int count)
{
    std::vector<std::string> lines;
    for (int k = 1; k <= count; ++k)
        lines.push_back(station(int64_t{k} * 1000, 12, 400));
    return lines;
}

struct SlotCase {
    int32_t board_slot;
    int count;
    int32_t error;
    int last_record; // the last record that holds a station
};

TEST(Station, StopsBeforeTheSignBoardTexts)
{
    const SlotCase cases[] = {
        {59, 57, 0, 57}, {59, 58, 10, 58}, {80, 78, 0, 78}, {80, 79, 10, 79}, {2, 1, 10, 1},
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.count);
        TrainRun run(90000);
        run.handoff.board_slot = c.board_slot;
        run.state.error_at_m = 777;
        run.read_lines(stations(c.count));
        EXPECT_EQ(run.state.error_code, c.error);
        EXPECT_EQ(run.state.error_at_m, 777);
        EXPECT_EQ(run.record(c.last_record).at_m, c.last_record * 1000);
        EXPECT_EQ(run.record(c.last_record + 1).at_m, 0);
    }
}

// With every record from 1 to 80 holding a sign-board text, a station line
// leaves them all as they are.
TEST(Station, NeverOverwritesASignBoardText)
{
    TrainRun run;
    run.handoff.board_slot = 0;
    run.record(1).text = "(Km 1)";
    run.read_lines({station(3100, 12, 400)});
    EXPECT_EQ(run.state.error_code, 10);
    EXPECT_EQ(run.record(1), ScenarioRecord{.text = "(Km 1)"});
    EXPECT_EQ(run.cell(65).kind, kind_none);
}

} // namespace
} // namespace tratta::testing
