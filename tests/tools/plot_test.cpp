#include "autore/plot.hpp"

#include "app/file_names.hpp"
#include "autore/compile_sources.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The part of the picture between an opening tag with this marker and its group's end.
std::string group(const std::string& svg, const std::string& marker)
{
    const auto start = svg.find(marker);
    if (start == std::string::npos)
        return {};
    return svg.substr(start, svg.find("</g>", start) - start);
}

void compile_small(const fs::path& dir, bool line_table)
{
    const auto sources = testing::write_small_scenario(
        dir, {"cartello_indicatore,  4000,   (Km 4+000)"},
        {"stazione,    8000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Riva & <Porto>",
         "rallentamento,  6000,    60, 1000, 0,  1,  0"});
    CompileRequest rq;
    rq.line_file = sources.line_file;
    rq.train_file = sources.train_file;
    rq.out_dir = dir;
    rq.line_table = line_table;
    const CompileReport report = compile_sources(rq);
    ASSERT_EQ(report.exit_status, 0) << (report.problems.empty() ? "" : report.problems.front());
}

TEST(Plot, ThePictureIsWellFormedWithTheTrackAndItsMarks)
{
    TempFolder dir;
    compile_small(dir.path(), true);
    const auto run = testing::run_tool({"plot", dir.path().string(), "-o", (dir / "route.svg").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = read_bytes(dir / "route.svg");

    EXPECT_EQ(testing::xml_problem(svg), std::nullopt);
    EXPECT_EQ(count(svg, "id=\"track\""), 1u);
    EXPECT_EQ(count(group(svg, "class=\"stations\""), "<circle"), 2u);
    EXPECT_EQ(count(group(svg, "class=\"signals\""), "<circle"), 1u);
    EXPECT_EQ(count(group(svg, "class=\"boards\""), "<rect"), 1u);
    EXPECT_EQ(count(svg, "class=\"slowdown\""), 1u);
    EXPECT_NE(svg.find(">Alfa</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Riva &amp; &lt;Porto&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find("progressiva lungo il percorso (km)"), std::string::npos);
    for (const char* strip : {"id=\"gradient-up\"", "id=\"speed\"", "id=\"adhesion\""})
        EXPECT_NE(svg.find(strip), std::string::npos) << strip;
}

TEST(Plot, TheThreeFilesMayBeNamedOneByOneAndTheLineTableLeftOut)
{
    TempFolder dir;
    compile_small(dir.path(), false);
    const auto names = tratta::file_names(dir.path(), "Valle", "R 101");
    const auto run = testing::run_tool(
        {"plot", names.records.string(), names.grid.string(), "-o", (dir / "route.svg").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = read_bytes(dir / "route.svg");
    EXPECT_EQ(testing::xml_problem(svg), std::nullopt);
    EXPECT_EQ(svg.find("id=\"track\""), std::string::npos);
    EXPECT_NE(svg.find("pianta non disponibile"), std::string::npos);
    EXPECT_NE(svg.find("id=\"speed\""), std::string::npos);
}

TEST(Plot, WhatDoesNotMakeOneScenarioIsRefused)
{
    TempFolder dir;
    compile_small(dir.path(), true);
    const auto names = tratta::file_names(dir.path(), "Valle", "R 101");
    TempFolder empty;
    tratta::testing::write_bytes(dir / "broken.sim", "short");
    const struct {
        std::vector<std::string> inputs;
        const char* message_part;
    } rows[] = {
        {{empty.path().string()}, "nessun file .sim"},
        {{names.records.string()}, "servono almeno"},
        {{names.records.string(), names.records.string()}, "stesso tipo"},
        {{(dir / "broken.sim").string(), names.grid.string()}, "formato non valido"},
        {{dir.path().string()}, "più di un file .sim"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message_part);
        auto args = row.inputs;
        args.insert(args.begin(), "plot");
        args.insert(args.end(), {"-o", (empty / "out.svg").string()});
        const auto run = testing::run_tool(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(empty / "out.svg"));
    }
}

} // namespace
} // namespace autore
