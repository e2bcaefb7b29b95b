#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tratta::testing {
namespace {

struct GeneralValues {
    int32_t braked_mass, cars;
    int16_t sand, hours, minutes, seconds;
};

GeneralValues general_values(TrainRun& run)
{
    const ScenarioRecord& r84 = run.record(84);
    const ScenarioRecord& r86 = run.record(86);
    return {r84.start_m, r84.at_m, r86.int_a, r86.int_c, r86.int_d, r86.int_e};
}

bool operator==(const GeneralValues& a, const GeneralValues& b)
{
    return a.braked_mass == b.braked_mass && a.cars == b.cars && a.sand == b.sand && a.hours == b.hours &&
           a.minutes == b.minutes && a.seconds == b.seconds;
}

struct FileCase {
    const char* name;
    std::string bytes;
    GeneralValues want;
    int32_t error = 0;
};

const std::string general = "[generale]\r\n"
                            "percentuale massa frenata,   125\r\n"
                            "numero vetture,    16\r\n"
                            "orologio,    19              35            20 \r\n"
                            "sabbia,   200\r\n";

const FileCase file_cases[] = {
    {"the general values", general + "[fine]\r\n", {125, 16, 200, 19, 35, 20}},
    {"keys in capitals or with more words",
     "[GENERALE]\r\nNUMERO VETTURE totali, 9\r\nSabbia fine, 7\r\n[fine]\r\n", {0, 9, 7, 0, 0, 0}},
    {"a key with two key words runs both readings in order",
     "[generale]\r\nsabbia e vetture, 16, 200\r\n[fine]\r\n", {0, 16, 200, 0, 0, 0}},
    {"lines before the general header are passed over",
     "numero vetture, 99\r\nsabbia, 1\r\n[generale]\r\n[fine]\r\n", {0, 0, 0, 0, 0, 0}},
    {"a file without the general header yields nothing", "numero vetture, 99\r\nsabbia, 1\r\n",
     {0, 0, 0, 0, 0, 0}},
    {"a data line that ends the file is read whole", "[generale]\r\nnumero vetture, 16", {0, 16, 0, 0, 0, 0}},
    {"a key that ends the file is never acted upon", "[generale]\r\nsabbia, 4\r\nnumero vetture",
     {0, 0, 4, 0, 0, 0}},
    {"two comment fields are passed over", "[generale]\r\n-a, -b, vetture, 7\r\n[fine]\r\n",
     {0, 7, 0, 0, 0, 0}},
    {"a third comment field is taken as the key", "[generale]\r\n-a, -b, -vetture, 7\r\n[fine]\r\n",
     {0, 7, 0, 0, 0, 0}},
    {"two comment fields end at a field without its dash",
     "[generale]\r\n-a, -vetture, 7\r\n[fine]\r\n", {0, 0, 0, 0, 0, 0}},
    {"a comment field that meets the end of the file", "[generale]\r\n-a, vetture", {0, 0, 0, 0, 0, 0}},
    {"the singular header word is a key", "[generale]\r\n[sabbia], 3\r\n[fine]\r\n", {0, 0, 3, 0, 0, 0}},
    {"a value missing from its line comes from the next one",
     "[generale]\r\norologio, 10, 20\r\n30, sabbia, 5\r\n[fine]\r\n", {0, 0, 5, 10, 20, 30}},
    {"a line cut short by the end of the file", "[generale]\r\norologio, 10, 20", {0, 0, 0, 10, 20, 0}, 25},
    {"a number too large for its field", "[generale]\r\nsabbia, 32768\r\n[fine]\r\n", {}, 25},
    {"an empty file", "", {}, 25},
};

class TrainFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(TrainFile, ReadsTheGeneralValues)
{
    const FileCase& c = GetParam();
    SCOPED_TRACE(c.name);
    TrainRun run;
    run.write(c.bytes);
    run.read();
    EXPECT_EQ(run.state.error_code, c.error);
    EXPECT_TRUE(general_values(run) == c.want);
    EXPECT_FALSE(run.train_file_left());
}

INSTANTIATE_TEST_SUITE_P(Files, TrainFile, ::testing::ValuesIn(file_cases), RowName{});

TEST(TrainRead, MissingFileFailsTheRead)
{
    TrainRun run;
    run.read();
    EXPECT_EQ(run.state.error_code, 25);
}

// A value that breaks its field's limit is named where it stands, even when
// the line short of values took it from the next line.
TEST(TrainRead, ReadFailureNamesTheFieldThatBrokeItsLimit)
{
    TrainRun run;
    run.state.key_place = {SourceFile::line, 40, 1, 2};
    run.write("[generale]\r\norologio, 1, 2\r\n40000\r\n[fine]\r\n");
    run.read();
    EXPECT_EQ(run.state.error_code, 25);
    EXPECT_EQ(run.error_place().file, SourceFile::train);
    EXPECT_EQ(run.error_place().line, 3);
    EXPECT_EQ(run.error_place().column, 1);
    ASSERT_FALSE(run.state.errors.empty());
    EXPECT_NE(run.state.errors.back().cause.find("«secondi» di «orologio»"), std::string::npos)
        << run.state.errors.back().cause;
}

TEST(TrainRead, FileWithoutTheHeaderStillCompletesTheProfiles)
{
    TrainRun run;
    run.mark_profiles(99);
    run.write("velocita, 0, 100\r\n");
    run.read();
    EXPECT_EQ(run.state.error_code, 0);
    EXPECT_EQ(run.cell(0).speed5, 0);
    EXPECT_EQ(run.cell(337).adhesion, 0);
    EXPECT_EQ(run.cell(338).speed5, 99);
}

// The kilometre chainages must lie on the 50 m grid; all three are looked at
// after a complete read, and error 2 then replaces a range error.
TEST(TrainRead, ChainageCheckAfterTheCompletion)
{
    struct Case {
        int record;
        int32_t start_m, end_m;
        const char* last_line;
        int32_t error;
    };
    const Case cases[] = {
        {81, 25, 0, "[fine]", 2},       {82, 0, -30, "[fine]", 2},
        {83, 100, 50, "[fine]", 0},     {83, 310, 0, "[fine]", 2},
        {83, 310, 0, "velocita, 99999, 3", 2},
        {83, 300, 0, "velocita, 99999, 3", 15},
        // The error exit makes no chainage check.
        {83, 310, 0, "abbattimento, 1050, 3", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        SCOPED_TRACE(c.last_line);
        TrainRun run;
        run.record(c.record).start_m = c.start_m;
        run.record(c.record).end_m = c.end_m;
        run.write(crlf_lines({"[generale]", "segnale, 1000, 2, 0,0,0,0, 0, 0,0,0, 0", c.last_line, "[fine]"}));
        run.read();
        EXPECT_EQ(run.state.error_code, c.error);
    }
}

// A range error left by the line file stops the train file at its first
// signal or slowdown line, after that line is written, with the line's
// position as the error's chainage. The lines before it are in the model,
// the profiles are not completed.
TEST(TrainRead, RangeErrorFromTheLineFileStopsAtTheFirstSignalOrSlowdown)
{
    const std::string stopping_lines[] = {
        "segnale, 1050, 2, 4,1,1,0, 0, 2,1,1, 0",
        "rallentamento, 1050, 60, 500, 0, 0, 0",
    };
    for (const std::string& stopping : stopping_lines) {
        SCOPED_TRACE(stopping);
        TrainRun run;
        run.state.error_code = 15;
        run.state.error_at_m = 99999;
        run.mark_profiles(99);
        run.read_lines({"numero vetture, 16", "velocita, 0, 100", "velocita, 500, 60", "abbattimento, 300, 270",
                        "stazione, 3100, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, Sosta", stopping,
                        "sabbia, 200"});
        EXPECT_EQ(run.state.error_code, 15);
        EXPECT_EQ(run.state.error_at_m, 1050);
        EXPECT_EQ(run.error_place().line, 7);
        EXPECT_EQ(run.record(84).at_m, 16);
        EXPECT_EQ(run.record(1).at_m, 3100);
        EXPECT_EQ(run.cell(6).kind, kind_code_point);
        EXPECT_EQ(run.cell(22).kind == kind_signal || run.cell(22).kind == kind_slowdown_start, true);
        EXPECT_EQ(run.cell(9).speed5, 20);
        EXPECT_EQ(run.cell(10).speed5, 99);
        EXPECT_EQ(run.record(86).int_a, 0);
        EXPECT_FALSE(run.train_file_left());
    }
}

} // namespace
} // namespace tratta::testing
