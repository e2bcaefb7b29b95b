#include "autore/plot.hpp"

#include "app/file_names.hpp"
#include "app/memorizza_percorso.hpp"
#include "app/run_state.hpp"
#include "support/special_files.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

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
    testing::write_small_scenario(dir, {"cartello_indicatore,  4000,   (Km 4+000)"},
                                  {"stazione,    8000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Riva & <Porto>",
                                   "rallentamento,  6000,    60, 1000, 0,  1,  0"});
    tratta::RunState state;
    state.folder = dir;
    state.scenario_name = "Valle";
    state.train_name = "R 101";
    int32_t j = line_table ? 1 : 0;
    tratta::memorizza_percorso(state, j);
    ASSERT_EQ(state.error_code, 0);
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

TEST(Plot, AnOutputThatIsNotARegularFileOrIsAnInputIsRefused)
{
    namespace t = tratta::testing;
    TempFolder dir;
    compile_small(dir.path(), true);
    const auto names = tratta::file_names(dir.path(), "Valle", "R 101");
    const std::string records = read_bytes(names.records);
    const std::string grid = read_bytes(names.grid);
    const std::string table = read_bytes(names.line_table);
    TempFolder out;
    ASSERT_TRUE(t::make_special(t::Special::folder, out / "folder.svg"));
    ASSERT_TRUE(t::make_special(t::Special::fifo, out / "fifo.svg"));
    ASSERT_TRUE(t::make_special(t::Special::link_to_regular, out / "link.svg", out / "target.svg"));
    ASSERT_TRUE(t::make_special(t::Special::dangling_link, out / "dangling.svg"));
    fs::create_hard_link(names.grid, out / "grid-again.dat");
    const struct {
        fs::path output;
        const char* message_part;
    } rows[] = {
        {out / "folder.svg", "cartella"},
        {out / "fifo.svg", "pipe con nome"},
        {out / "link.svg", "collegamento simbolico"},
        {out / "dangling.svg", "collegamento simbolico"},
        {names.records, "è uno dei file letti"},
        {names.line_table, "è uno dei file letti"},
        {out / "grid-again.dat", "è uno dei file letti"},
        {dir / "." / names.grid.filename(), "è uno dei file letti"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.output.string());
        const auto run = testing::run_tool({"plot", dir.path().string(), "-o", row.output.string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(row.output.filename().string()), std::string::npos) << run.err;
    }
    EXPECT_EQ(read_bytes(names.records), records);
    EXPECT_EQ(read_bytes(names.grid), grid);
    EXPECT_EQ(read_bytes(names.line_table), table);
    EXPECT_EQ(read_bytes(out / "target.svg"), "regular content");
}

// "-o -" sends the picture to standard output, and nothing else goes there.
TEST(Plot, ADashWritesThePictureToStandardOutput)
{
    TempFolder dir;
    compile_small(dir.path(), true);
    const auto caught = dir / "caught.svg";
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(caught.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDOUT_FILENO);
    const auto run = testing::run_tool({"plot", dir.path().string(), "-o", "-"});
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(file);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string svg = read_bytes(caught);
    EXPECT_EQ(testing::xml_problem(svg), std::nullopt);
    EXPECT_NE(svg.find("id=\"track\""), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "-"));
}

// A folder named like a records file is not one of the scenario's files.
TEST(Plot, AFolderNamedLikeABinaryIsPassedOver)
{
    TempFolder dir;
    compile_small(dir.path(), true);
    fs::create_directory(dir / "Altro_T.sim");
    const auto run = testing::run_tool({"plot", dir.path().string(), "-o", (dir / "route.svg").string()});
    EXPECT_EQ(run.status, 0) << run.err;
}

} // namespace
} // namespace autore
