#include "autore/plot/plot.hpp"

#include "app/file_names.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "support/special_files.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include "autore/scenario_files/route_output.hpp"

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

void compile_small(const fs::path& dir, bool line_table, const std::string& length = "10000")
{
    const auto sources = testing::write_small_scenario(
        dir,
        {"cartello_indicatore,  4000,   (Km 4+000)", "indicatori_vmax,  2500,  85,  90,  95,  0,  85,  90,  95,  0",
         "montagna,   6000,  7000,  12"},
        {"stazione,    8000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Riva & <Porto>",
         "rallentamento,  6000,    60, 1000, 0,  1,  0"});
    std::string text = read_bytes(sources.line_file);
    text.replace(text.find("10000"), 5, length);
    tratta::testing::write_bytes(sources.line_file, text);
    CompileRequest rq;
    rq.line_file = sources.line_file;
    rq.train_file = sources.train_file;
    rq.out_dir = dir;
    rq.line_table = line_table;
    const CompileReport report = compile_sources(rq);
    ASSERT_NE(report.exit_status, 1) << (report.problems.empty() ? "" : report.problems.front());
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
    // The speed indicator on the plan and in its lane, with what it shows; the
    // mountain side on the plan and in its lane; the official km under the route's.
    EXPECT_EQ(count(group(svg, "class=\"indicators\""), "<path"), 1u);
    EXPECT_EQ(count(group(svg, "class=\"indicator-lane\""), "<path"), 1u);
    EXPECT_NE(group(svg, "class=\"indicator-labels\"").find(">85/90/95</text>"), std::string::npos);
    EXPECT_EQ(count(group(svg, "class=\"mountains\""), "<path"), 1u);
    EXPECT_EQ(count(group(svg, "class=\"mountain-lane\""), "<rect"), 1u);
    EXPECT_NE(group(svg, "class=\"official-km\"").find(">10</text>"), std::string::npos);
    EXPECT_NE(svg.find("km ufficiale"), std::string::npos);
    // The picture takes the window's width, whatever it is, and the height its shape gives it.
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100%\" style=\"height:auto\" viewBox=\"0 0 "),
              std::string::npos);
}

// Two texts of the picture that cover each other, by their contents.
std::vector<std::string> overlapping(const std::vector<TextBox>& texts)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (overlaps(texts[i], texts[j]))
                out.push_back("«" + texts[i].text + "» / «" + texts[j].text + "»");
    return out;
}

TEST(Plot, TextsThatCrossAreSeenToCoverEachOther)
{
    // Two names of 10 px slanting up from stations 20 px apart, and the same turned the other way.
    const TextBox rising = text_box(100, 100, "Torre Scirocco", 10, "start", -45);
    const struct {
        TextBox other;
        bool covers;
    } rows[] = {
        {text_box(120, 100, "Calvari", 10, "start", -45), false},     // side by side, both rising
        {text_box(108, 100, "Calvari", 10, "start", -45), true},      // too close: the texts touch
        {text_box(120, 100, "Calvari", 10, "end", 45), true},         // falling back across the first
        {text_box(145, 45, "Calvari", 10, "start", 0), true},         // upright, across its far end
        {text_box(160, 100, "Calvari", 10, "start", 0), false},       // upright, clear below it
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.other.left);
        EXPECT_EQ(overlaps(rising, row.other), row.covers);
        EXPECT_EQ(overlaps(row.other, rising), row.covers);
    }
}

TEST(Plot, NoLabelCoversAnother)
{
    TempFolder embedded;
    ASSERT_EQ(testing::compile_embedded(embedded.path()), 0);
    TempFolder small;
    compile_small(small.path(), true, "8000");
    for (const fs::path& dir : {embedded.path(), small.path()}) {
        SCOPED_TRACE(dir.string());
        const LoadedScenario s = load_scenario({dir}, "", "");
        const RouteData route = gather_route(s.records, s.cells, &*s.line_table, 2000);
        std::vector<TextBox> texts;
        route_svg(route, &texts);
        EXPECT_GT(texts.size(), 40u);
        EXPECT_EQ(overlapping(texts), std::vector<std::string>{});
        // Every station is named on the plan and on the profile.
        for (const auto& st : route.stations) {
            const auto named = std::count_if(texts.begin(), texts.end(), [&](const TextBox& t) { return t.text == st.label; });
            EXPECT_EQ(named, 2) << st.label;
        }
    }
}

// The points of a path written as "M x y L x y ..." or with H and V steps.
std::vector<std::pair<double, double>> path_points(const std::string& svg, const std::string& id)
{
    // The path element that carries the id, and its "d" attribute.
    const std::size_t id_at = svg.find("id=\"" + id + "\"");
    if (id_at == std::string::npos)
        return {};
    const std::size_t start = svg.rfind("<path ", id_at);
    const std::size_t d_at = start == std::string::npos ? std::string::npos : svg.find("d=\"", start);
    if (d_at == std::string::npos || d_at > id_at)
        return {};
    const std::size_t d_end = svg.find('"', d_at + 3);
    std::vector<std::pair<double, double>> out;
    std::istringstream in(svg.substr(d_at + 3, d_end - d_at - 3));
    double x = 0, y = 0;
    char op = 0;
    while (in >> std::ws && in.peek() != EOF) {
        if (std::isalpha(in.peek()))
            in >> op;
        if (op == 'M' || op == 'L') in >> x >> y;
        else if (op == 'H') in >> x;
        else if (op == 'V') in >> y;
        else if (op == 'Z') continue;
        out.emplace_back(x, y);
    }
    return out;
}

TEST(Plot, OnAShortRouteNoLineCrossesATitleOrTheEndLabel)
{
    TempFolder dir;
    compile_small(dir.path(), true, "8000");
    const LoadedScenario s = load_scenario({dir.path()}, "", "");
    std::vector<TextBox> texts;
    const std::string svg = route_svg(gather_route(s.records, s.cells, &*s.line_table, 2000), &texts);
    const auto text = [&](const std::string& content) {
        const auto at = std::find_if(texts.begin(), texts.end(), [&](const TextBox& t) { return t.text == content; });
        EXPECT_NE(at, texts.end()) << content;
        return at == texts.end() ? TextBox{} : *at;
    };
    const struct {
        const char* title;
        const char* path;
    } rows[] = {{"velocità massima (km/h)", "speed"}, {"aderenza", "adhesion"}, {"8 km", "run-out"}, {"8 km", "track"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.title) + " / " + row.path);
        const TextBox t = text(row.title);
        const auto points = path_points(svg, row.path);
        ASSERT_FALSE(points.empty());
        for (std::size_t i = 0; i < points.size(); ++i) {
            // Along each piece of the line, a few pixels apart.
            const auto [x0, y0] = points[i == 0 ? 0 : i - 1];
            const auto [x1, y1] = points[i];
            for (double k = 0; k <= 1; k += 0.05) {
                const double x = x0 + (x1 - x0) * k, y = y0 + (y1 - y0) * k;
                ASSERT_FALSE(x >= t.left && x <= t.left + t.width && y >= t.top && y <= t.top + t.height)
                    << x << " " << y;
            }
        }
    }
}

TEST(Plot, OnlyAnSvgNameIsWritten)
{
    TempFolder dir;
    compile_small(dir.path(), true);
    for (const char* name : {"route.png", "route", "route.svg.txt", "route.html"}) {
        SCOPED_TRACE(name);
        const auto run = testing::run_tool({"plot", dir.path().string(), "-o", (dir / name).string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("non scrivo \"" + (dir / name).string() + "\""), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("deve finire in .svg"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / name));
    }
    const auto run = testing::run_tool({"plot", dir.path().string(), "-o", (dir / "ROUTE.SVG").string()});
    EXPECT_EQ(run.status, 0) << run.err;
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
        {{empty.path().string()}, "nessuno scenario compilato"},
        {{names.records.string()}, "servono almeno"},
        {{names.records.string(), names.records.string()}, "stesso tipo"},
        {{(dir / "broken.sim").string(), names.grid.string()}, "formato non valido"},
        {{dir.path().string()}, "più di uno scenario compilato"},
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
