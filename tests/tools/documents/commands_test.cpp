// The documents and timetable subcommands as an author runs them.

#include "support/temp_folder.hpp"
#include "tools/documents/valle_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace autore {
namespace {

using tratta::testing::TempFolder;

std::vector<std::string> valle_with_delta_at(const std::string& time)
{
    auto lines = testing::valle_train_lines();
    for (auto& line : lines)
        if (line.find("Delta") != std::string::npos)
            line = "stazione,   16000,  8,  500,  0, 0, 0,  1,1,0,  4,3,1,    0,   " + time + ", Delta";
    return lines;
}

TEST(TimetableCommand, ATimetableThatCanBeKept)
{
    TempFolder dir;
    const auto f = testing::write_valle(dir.path());
    const auto run = testing::run_tool({"timetable", f.line_file.string(), f.train_file.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("accelerazione 0.30 m/s², frenatura 0.50 m/s², sosta 60 s"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Alfa Centrale               Delta                       0.14.00    0.13.31    0.00.29"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("13.000    Gamma                       sì       0.03.22              8.09"),
              std::string::npos)
        << run.out;
}

TEST(TimetableCommand, ALegThatCannotBeKeptIsReportedAtItsLine)
{
    TempFolder dir;
    const auto f = testing::write_valle(dir.path(), valle_with_delta_at("8, 12, 0"));
    const auto run = testing::run_tool({"timetable", f.line_file.string(), f.train_file.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Valle_R 101-.txt:12:1: warning [orario-non-rispettabile]: tra Alfa Centrale e Delta "
                           "l'orario dà 0.12.00, ma il treno impiega almeno 0.13.31: mancano 92 secondi"),
              std::string::npos)
        << run.err;

    // Its finding reads as check reads it, word for word.
    const auto check = testing::run_tool({"check", f.line_file.string(), f.train_file.string()});
    const std::string finding = run.err.substr(0, run.err.find('\n') + 1);
    EXPECT_NE(check.out.find(finding), std::string::npos) << finding << "\n" << check.out;

    // A train that brakes and accelerates harder keeps it.
    const auto brisk = testing::run_tool({"timetable", f.line_file.string(), f.train_file.string(), "--accel", "0.9",
                                          "--decel", "1.2", "--dwell", "20"});
    EXPECT_EQ(brisk.status, 0) << brisk.err;
    EXPECT_NE(brisk.out.find("accelerazione 0.90 m/s², frenatura 1.20 m/s², sosta 20 s"), std::string::npos);
}

TEST(TimetableCommand, NothingWorkedOut)
{
    TempFolder dir;
    const auto f = testing::write_valle(dir.path());
    EXPECT_EQ(testing::run_tool({"timetable", f.line_file.string(), f.train_file.string(), "--accel", "0"}).status, 64);
    EXPECT_EQ(testing::run_tool({"timetable", f.line_file.string(), (dir / "manca-.txt").string()}).status, 1);
    const auto missing = testing::run_tool({"timetable", f.line_file.string(), (dir / "Valle_X-.txt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Valle_X-.txt"), std::string::npos) << missing.err;
}

TEST(DocumentsCommand, SourcesWithADataErrorStillGiveTheirDocuments)
{
    TempFolder dir;
    auto train = testing::valle_train_lines();
    train.insert(train.end() - 1, "velocita,  999999,  100");
    const auto f = testing::write_valle(dir.path(), train);
    const auto run =
        testing::run_tool({"documents", f.line_file.string(), f.train_file.string(), "-o", (dir / "out").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("error [15]"), std::string::npos) << run.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 3);
    // The author's files are only read.
    EXPECT_TRUE(std::filesystem::exists(f.line_file));
    EXPECT_TRUE(std::filesystem::exists(f.train_file));
}

} // namespace
} // namespace autore
