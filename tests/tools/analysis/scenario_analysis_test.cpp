// The one analysis behind check, the language server, view and serve: the
// same report as the check, no line table where nothing is drawn, the same
// texts analysed once, and a partner file read again only once it changed.
#include "autore/analysis/scenario_analysis.hpp"

#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::crlf_lines;
using tratta::testing::TempFolder;

std::string line_with(const std::vector<std::string>& extra)
{
    auto lines = testing::small_line_lines();
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    return crlf_lines(lines);
}

std::string train_with(const std::vector<std::string>& extra)
{
    auto lines = testing::small_train_lines();
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    return crlf_lines(lines);
}

AnalysisRequest request_of(std::string line, std::string train)
{
    return {std::move(line), std::move(train), "Valle", "R 101"};
}

std::vector<std::string> codes_of(const std::vector<Diagnostic>& diagnostics)
{
    std::vector<std::string> codes;
    for (const Diagnostic& d : diagnostics)
        codes.push_back(d.code + "@" + std::to_string(d.place.line));
    return codes;
}

// Two speed boards on one cell (error 21, which stops the reading of the line
// file) and, after them, a curve length written with letters (a warning).
const std::vector<std::string> faulty_line = {"indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0",
                                              "indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0",
                                              "curvas1,  1350,  19OO"};

TEST(ScenarioAnalysis, ReportsWhatTheCheckReportsWithoutTheLineTable)
{
    const std::string line = line_with(faulty_line);
    const std::string train = train_with({});
    const auto analysis = analyse_scenario(request_of(line, train));
    const CheckReport check = check_scenario({line, train, "Valle", "R 101"});
    EXPECT_EQ(codes_of(analysis->report.diagnostics), codes_of(check.diagnostics));
    EXPECT_EQ(codes_of(analysis->diagnostics), codes_of(check.diagnostics));
    EXPECT_FALSE(analysis->report.diagnostics.empty());
    // Nothing is drawn from a check: the route metre by metre is not laid.
    EXPECT_TRUE(analysis->compiled.files.line_table.empty());

    AnalysisRequest drawn = request_of(line, train);
    drawn.line_table = true;
    EXPECT_FALSE(analyse_scenario(std::move(drawn))->compiled.files.line_table.empty());
}

TEST(ScenarioAnalysis, WhatKeepsTheProgramFromWritingLeadsAndAStandInTrainSaysNothing)
{
    // A signal in cell 1 takes the fields the program stamps: it stops with its
    // error box and writes nothing, which no error of the check says.
    const auto box = analyse_scenario(request_of(line_with({}), train_with({"segnale,    0,   2, 4, 1,  1, 0,    2,  2,1,1, 0"})));
    ASSERT_FALSE(box->diagnostics.empty());
    EXPECT_TRUE(box->diagnostics.front().is_error());
    EXPECT_NE(box->diagnostics.front().message.find("Errore n. 125"), std::string::npos)
        << box->diagnostics.front().message;
    EXPECT_EQ(box->diagnostics.size(), box->report.diagnostics.size() + 1);

    // A speed board that none of the train's speeds matches is told with a
    // train, not with the empty one that stands in for a missing train file.
    const std::string board = "indicatori_vmax,  4000,  85,  90,  95,  0,  80,  85,  90,  1";
    const auto with_train = analyse_scenario(request_of(line_with({board}), train_with({})));
    EXPECT_EQ(codes_of(with_train->diagnostics), std::vector<std::string>{"cartello-velocita-discorde@6"});
    AnalysisRequest alone = request_of(line_with({board}), "[generale]\r\n[fine]\r\n");
    alone.stand_in_train = true;
    EXPECT_EQ(codes_of(analyse_scenario(std::move(alone))->diagnostics), std::vector<std::string>{});
}

TEST(AnalysisCache, TheSameTextsAreAnalysedOnce)
{
    AnalysisCache cache(2);
    const std::string train = train_with({});
    const auto a = cache.analyse(request_of(line_with({}), train));
    EXPECT_EQ(cache.analyse(request_of(line_with({}), train)), a);
    EXPECT_EQ(cache.made(), 1u);

    // Another text, another analysis; so are other names and another purpose.
    const auto b = cache.analyse(request_of(line_with(faulty_line), train));
    EXPECT_NE(b, a);
    EXPECT_EQ(cache.analyse(request_of(line_with({}), train)), a);
    AnalysisRequest other_name = request_of(line_with({}), train);
    other_name.train_name = "R 102";
    EXPECT_NE(cache.analyse(std::move(other_name)), a);
    EXPECT_EQ(cache.made(), 3u);
    // Two are kept: the faulty pair, used longest ago, was let go.
    EXPECT_NE(cache.analyse(request_of(line_with(faulty_line), train)), b);
    EXPECT_EQ(cache.made(), 4u);
}

void write(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(SourceFileCache, APartnerFileIsReadAgainOnlyOnceItChanged)
{
    TempFolder dir;
    const fs::path file = dir / "Valle_R 101-.txt";
    write(file, train_with({}));
    SourceFileCache files;
    EXPECT_EQ(files.read(file, 1 << 20), train_with({}));
    EXPECT_EQ(files.read(file, 1 << 20), train_with({}));
    EXPECT_EQ(files.reads(), 1u);

    // Saved again with other contents: read again.
    write(file, train_with({"velocita,  2500,  40"}));
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(2));
    EXPECT_EQ(files.read(file, 1 << 20), train_with({"velocita,  2500,  40"}));
    EXPECT_EQ(files.reads(), 2u);

    // Too large, a folder, gone: none.
    EXPECT_EQ(files.read(file, 10), std::nullopt);
    EXPECT_EQ(files.read(dir.path(), 1 << 20), std::nullopt);
    fs::remove(file);
    EXPECT_EQ(files.read(file, 1 << 20), std::nullopt);
}

} // namespace
} // namespace autore
