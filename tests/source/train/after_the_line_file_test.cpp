// The train file read after the line file, through the whole source reader:
// what the line half hands on (the board slot, a range error, the chainages)
// and what it keeps from the train half.

#include "model/run_state.hpp"
#include "source/memorizza_dati.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta::testing {
namespace {

struct BothFiles {
    BothFiles(const std::vector<std::string>& line_lines, const std::vector<std::string>& train_lines)
    {
        state.scenario_name = "Prova";
        state.train_name = "TR 1";
        state.j = 0;
        line_bytes = crlf_lines(line_lines);
        std::vector<std::string> train{"[generale]"};
        train.insert(train.end(), train_lines.begin(), train_lines.end());
        train.emplace_back("[fine]");
        train_bytes = crlf_lines(train);
        state.sources.line = SourceText::of(line_bytes);
        state.sources.train = SourceText::of(train_bytes);
        memorizza_dati(state);
    }

    bool train_file_left() const { return !state.sources.train_deleted; }

    std::string line_bytes;
    std::string train_bytes;
    RunState state;
};

std::vector<std::string> line_file(int32_t length_m, const std::vector<std::string>& body)
{
    std::vector<std::string> lines{"[generale]", "lunghezza percorso, " + std::to_string(length_m), "[corpo]"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.emplace_back("[fine]");
    return lines;
}

std::vector<std::string> boards(int count)
{
    std::vector<std::string> lines;
    for (int k = 1; k <= count; ++k)
        lines.push_back("cartello_indicatore, " + std::to_string(k * 1000) + ", (Km " + std::to_string(k) + ")");
    return lines;
}

std::vector<std::string> stations(int count)
{
    std::vector<std::string> lines;
    for (int k = 1; k <= count; ++k)
        lines.push_back("stazione, " + std::to_string(k * 1000) + ", 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S" +
                        std::to_string(k));
    return lines;
}

// With 21 sign boards (records 80 to 60) the stations may fill records 1 to 57;
// the 58th station ends the read and no board text is touched.
TEST(AfterTheLineFile, StationsStopBeforeTheSignBoardTexts)
{
    for (const int count : {57, 58}) {
        SCOPED_TRACE(count);
        BothFiles run(line_file(90000, boards(21)), stations(count));
        EXPECT_EQ(run.state.error_code, count == 58 ? 10 : 0);
        EXPECT_EQ(run.state.records[count].text, "S" + std::to_string(count));
        EXPECT_EQ(run.state.records[59].text, "");
        EXPECT_EQ(run.state.records[60].text, "(Km 21)");
        EXPECT_EQ(run.state.records[80].text, "(Km 1)");
        EXPECT_FALSE(run.train_file_left());
    }
}

// A position beyond the grid in the line file lets the train file be read up
// to its first signal.
TEST(AfterTheLineFile, RangeErrorOfTheLineFileStopsAtTheFirstSignal)
{
    BothFiles run(line_file(10000, {"cartello_indicatore, 99000, (Km 99)"}),
                  {"numero vetture, 16", "segnale, 1050, 2, 4,1,1,0, 2, 2,1,1, 0", "sabbia, 200"});
    EXPECT_EQ(run.state.error_code, 15);
    EXPECT_EQ(run.state.error_at_m, 1050);
    ASSERT_EQ(run.state.errors.size(), 2u);
    EXPECT_EQ(run.state.errors[0].place.file, SourceFile::line); // the board beyond the grid
    EXPECT_EQ(run.state.errors[1].place.file, SourceFile::train); // where the train file stops
    EXPECT_EQ(run.state.errors[1].place.line, 3);
    EXPECT_EQ(run.state.records[84].at_m, 16);
    EXPECT_EQ(run.state.cells.at(22).kind, kind_signal);
    EXPECT_EQ(run.state.records[86].int_a, 0);
    EXPECT_FALSE(run.train_file_left());
}

// Any other error of the line file returns before the train file, which stays.
TEST(AfterTheLineFile, OtherLineErrorsLeaveTheTrainFileUnread)
{
    BothFiles run(line_file(10000, {"cartello_indicatore, 1000, (A)", "cartello_indicatore, 1000, (B)"}),
                  {"numero vetture, 16"});
    EXPECT_EQ(run.state.error_code, 6);
    EXPECT_EQ(run.state.records[84].at_m, 0);
    EXPECT_TRUE(run.train_file_left());
}

// A chainage off the 50 m grid is found once the train file is complete.
TEST(AfterTheLineFile, ChainageOffTheGridGivesError2)
{
    std::vector<std::string> line = line_file(10000, {});
    line.insert(line.begin() + 2, "progressiva chilometrica uno, 1025, 3050, 0");
    BothFiles run(line, {"numero vetture, 16"});
    EXPECT_EQ(run.state.error_code, 2);
    EXPECT_EQ(run.state.records[84].at_m, 16);
}

} // namespace
} // namespace tratta::testing
