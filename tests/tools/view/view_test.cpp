// The route page: the data it carries (stations, objects in words with their
// source lines, the profile as runs, the official kilometre, the plan at
// several levels of detail), its size for the embedded route, and the command.
#include "autore/route/speed_indicator.hpp"
#include "autore/route/object_words.hpp"
#include "autore/route_page/plan_levels.hpp"
#include "autore/route_page/view_data.hpp"
#include "autore/route/route_colours.hpp"
#include "autore/route_page/view_page.hpp"
#include "autore/analysis/view_sources.hpp"

#include "autore/route/official_km.hpp"
#include "autore/route/plan_frame.hpp"
#include "autore/route/route_data.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"
#include "tools/view_fixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace autore {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;

const json* object_in_cell(const json& data, int cell)
{
    for (const auto& o : data["objects"])
        if (o["cell"] == cell)
            return &o;
    return nullptr;
}

bool has_word(const json& words, const std::string& part)
{
    for (const auto& w : words)
        if (w.get<std::string>().find(part) != std::string::npos)
            return true;
    return false;
}

TEST(ViewData, EveryObjectInWordsWithTheSourceLineItCameFrom)
{
    TempFolder dir;
    const auto fixture = testing::make_view_fixture(dir.path());
    const json data = view_data(fixture.scenario, fixture.extras);

    EXPECT_EQ(data["scenario"], "Valle");
    EXPECT_EQ(data["train"], "R 101");
    EXPECT_EQ(data["length_m"], 10000);
    EXPECT_EQ(data["sources"]["line_file"], "Valle_linea.txt");
    EXPECT_EQ(data["sources"]["train_file"], "Valle_R 101-.txt");

    const struct {
        int cell;
        int kind;
        const char* layer;
        int64_t at_m;
        const char* label;
        const char* word;
        const char* file; // nullptr: no source line known
        int line;
    } rows[] = {
        {61, 1, "signals", 3000, "", "valori 42 · 11 · 11 · 8", "Valle_R 101-.txt", 10},
        {81, 6, "indicators", 4000, "85/90/95 · 80/85/90", "velocità 4-6: 80 · 85 · 90 km/h, tipo 1", "Valle_linea.txt", 6},
        {121, 14, "boards", 6000, "Km 6+000", "testo «(Km 6+000)» (record 80)", "Valle_linea.txt", 7},
        {131, 3, "slowdowns", 6500, "60", "velocità 60 km/h", nullptr, 0},
        {107, 4, "slowdowns", 5300, "60", "1200 m prima dell'inizio", nullptr, 0},
        {160, 12, "codes", 8000, "270", "codice 270", nullptr, 0},
        {143, 11, "mountains", 7150, "", "lato di montagna, codice 2", nullptr, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cell);
        const json* o = object_in_cell(data, row.cell);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ((*o)["kind"], row.kind);
        EXPECT_EQ((*o)["layer"], row.layer);
        EXPECT_EQ((*o)["at_m"], row.at_m);
        EXPECT_EQ((*o)["km_m"], row.at_m); // no chainage: the official km is the route position
        EXPECT_EQ((*o)["label"], row.label);
        EXPECT_TRUE(has_word((*o)["words"], row.word)) << (*o)["words"];
        if (row.file == nullptr) {
            EXPECT_FALSE(o->contains("source"));
        } else {
            EXPECT_EQ((*o)["source"]["file"], row.file);
            EXPECT_EQ((*o)["source"]["line"], row.line);
        }
    }

    const json& stations = data["stations"];
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations[0]["name"], "Alfa");
    EXPECT_EQ(stations[0]["time"], "");
    EXPECT_EQ(stations[0]["source"]["line"], 8);
    EXPECT_EQ(stations[1]["name"], "Beta");
    EXPECT_EQ(stations[1]["at_m"], 9000);
    EXPECT_EQ(stations[1]["time_s"], 8 * 3600 + 15 * 60 + 30);
    EXPECT_EQ(stations[1]["time"], "08:15:30");
    EXPECT_TRUE(has_word(stations[1]["words"], "orario 08:15:30"));
    // With one time only there is no leg to work out: the station with a time keeps its own.
    EXPECT_FALSE(stations[0].contains("passing"));
    EXPECT_EQ(stations[1]["passing"], "8.15.30");

    ASSERT_EQ(data["slowdowns"].size(), 1u);
    EXPECT_EQ(data["slowdowns"][0], (json{{"start_m", 6500}, {"end_m", 7500}, {"speed_kmh", 60}, {"warning_m", 5300}}));

    const json& diagnostics = data["diagnostics"];
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0], (json{{"at_m", 5000}, {"severity", "warning"}, {"code", "W1"},
                                    {"message", "pendenza del 5 per mille subito dopo il segnale"},
                                    {"file", "Valle_linea.txt"}, {"line", 5}, {"column", 1}}));
    EXPECT_TRUE(diagnostics[1]["at_m"].is_null());
    EXPECT_EQ(diagnostics[1]["severity"], "error");
}

// The page draws in the plot's colours: one table gives both.
TEST(ViewData, TheColoursOfThePlotsPicture)
{
    TempFolder dir;
    const auto fixture = testing::make_view_fixture(dir.path());
    const json data = view_data(fixture.scenario, {});
    ASSERT_EQ(data["colours"].size(), std::size(route_colours));
    for (const NamedColour& c : route_colours)
        EXPECT_EQ(data["colours"][std::string(c.name)], std::string(c.value)) << c.name;
    EXPECT_EQ(data["colours"]["station"], colour::station);
}

TEST(ViewData, TheProfileAsRunsOfEqualValues)
{
    TempFolder dir;
    const auto fixture = testing::make_view_fixture(dir.path());
    const json data = view_data(fixture.scenario, {});
    const json& p = data["profile"];
    // The grid has cells 0 to 340; the stretch values fill them up to cell 337.
    EXPECT_EQ(data["end_m"], 341 * 50);
    EXPECT_EQ(p["end_m"], 338 * 50);
    EXPECT_EQ(p["gradient"], (json{{0, 0}, {2000, 5}}));
    EXPECT_EQ(p["speed_kmh"], (json{{0, 100}}));
    EXPECT_EQ(p["adhesion"], (json{{0, 80}}));
    EXPECT_EQ(p["side"], (json{{0, 0}, {7000, 2}, {9000, 0}}));
    EXPECT_EQ(data["official_km"], (json{{{"from_m", 0}, {"to_m", 341 * 50}, {"km_m", 0}, {"falling", false}}}));
    EXPECT_TRUE(data["sources"].is_null());
    EXPECT_TRUE(data["diagnostics"].empty());
    EXPECT_FALSE(object_in_cell(data, 61)->contains("source"));
}

// The embedded route, compiled by the program's own run into a folder.
LoadedScenario embedded_scenario(const fs::path& folder)
{
    EXPECT_EQ(testing::compile_embedded(folder), 0);
    return load_scenario({folder}, "", "");
}

// How far a point lies from the line through a level's points, at its metre.
double stray_m(const PlanLevel& level, const PlanVertex& p)
{
    const auto next = std::upper_bound(level.points.begin(), level.points.end(), p.m,
                                       [](int64_t m, const PlanVertex& v) { return m < v.m; });
    if (next == level.points.begin() || next == level.points.end())
        return (next == level.points.end() && level.points.back().m == p.m) ? 0 : 1e9;
    const PlanVertex& a = *(next - 1);
    const PlanVertex& b = *next;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    return len == 0 ? std::hypot(p.x - a.x, p.y - a.y) : std::abs(dx * (a.y - p.y) - dy * (a.x - p.x)) / len;
}

TEST(ViewData, TheEmbeddedRouteFitsAPageOfUnderThreeMegabytes)
{
    TempFolder dir;
    const LoadedScenario scenario = embedded_scenario(dir.path());
    const json data = view_data(scenario, {});

    ASSERT_EQ(data["stations"].size(), 45u);
    EXPECT_EQ(data["stations"][0]["name"], "Portaurea Centrale");
    EXPECT_EQ(data["stations"][0]["time"], "19:35:20");
    EXPECT_EQ(data["stations"][44]["name"], "Sarmenta Centrale");
    EXPECT_EQ(data["stations"][44]["time"], "22:29:00");
    // Beside the train file's times, those that `timetable` works out for every station.
    const struct {
        std::size_t station;
        const char* time;
        const char* passing;
        int64_t passing_s;
    } times[] = {
        {0, "19:35:20", "19.35.30", 70530},
        {1, "", "19.39.30", 70770},
        {2, "", "19.43", 70980},
        // Vallegrana and Santa Orsola in Piano, 24 s apart: the same half-minute.
        {19, "", "20.52.30", 75150},
        {20, "", "20.52.30", 75150},
        {44, "22:29:00", "22.29", 80940},
    };
    for (const auto& row : times) {
        SCOPED_TRACE(row.station);
        const json& st = data["stations"][row.station];
        EXPECT_EQ(st["time"], row.time);
        EXPECT_EQ(st["passing"], row.passing);
        EXPECT_EQ(st["passing_s"], row.passing_s);
    }

    // The official km on every stretch agrees with the count the boards use.
    const auto chainages = chainages_of(scenario.records);
    const json& stretches = data["official_km"];
    ASSERT_EQ(stretches.size(), 4u);
    for (const auto& s : stretches) {
        SCOPED_TRACE(s.dump());
        for (const int64_t m : {s["from_m"].get<int64_t>(), (s["from_m"].get<int64_t>() + s["to_m"].get<int64_t>()) / 2,
                                s["to_m"].get<int64_t>() - 1}) {
            const int64_t along = m - s["from_m"].get<int64_t>();
            const int64_t km = s["km_m"].get<int64_t>() + (s["falling"].get<bool>() ? -along : along);
            EXPECT_EQ(km, official_km_m(chainages, m)) << m;
        }
    }
    EXPECT_EQ(stretches[3]["falling"], true);
    EXPECT_EQ(stretches[3]["km_m"], 96100); // 412050 - 315950

    // Each level of the plan is smaller than the one before and strays from
    // the track, metre by metre, by no more than its tolerance.
    const auto points = plan_vertices(*scenario.line_table);
    ASSERT_EQ(points.size(), 340999u); // metres 0 to L + 6998
    const auto levels = plan_levels(points, plan_tolerances_m());
    ASSERT_EQ(levels.size(), data["plan"]["levels"].size());
    std::size_t previous = points.size();
    for (const PlanLevel& level : levels) {
        SCOPED_TRACE(level.tolerance_m);
        EXPECT_LT(level.points.size(), previous);
        previous = level.points.size();
        EXPECT_EQ(level.points.front().m, 0);
        EXPECT_EQ(level.points.back().m, points.back().m);
        double worst = 0;
        for (std::size_t i = 0; i < points.size(); i += 7)
            worst = std::max(worst, stray_m(level, points[i]));
        // Each level is simplified from the one before: the tolerances add up.
        double allowed = 0;
        for (const PlanLevel& l : levels)
            if (l.tolerance_m <= level.tolerance_m)
                allowed += l.tolerance_m;
        EXPECT_LE(worst, allowed + 1e-6);
    }
    EXPECT_LT(levels.front().points.size(), 20000u);

    // The page's whole-route window is the plot's frame: turned the same
    // way, reaching as far (the page carries whole metres).
    const RouteData route = gather_route(scenario.records, scenario.cells, &*scenario.line_table, picture_plan_points);
    const PlanFrame plot = plan_frame(route.plan, route.run_out);
    const json& whole = data["plan"]["windows"]["sizes"][0];
    ASSERT_EQ(whole["span_m"], 334000);
    ASSERT_EQ(whole["frames"].size(), 5u);
    const auto frame = [&](std::size_t i) { return whole["frames"][i].get<double>(); };
    EXPECT_NEAR(frame(0) / 1e4, std::atan2(plot.direction.uy, plot.direction.ux), 0.6e-4);
    const double um = (plot.u0 + plot.u1) / 2, vm = (plot.v0 + plot.v1) / 2;
    const PlanPoint start = route.plan.front();
    EXPECT_NEAR(frame(1), plot.direction.cx + um * plot.direction.ux - vm * plot.direction.uy - start.x, 0.5);
    EXPECT_NEAR(frame(2), plot.direction.cy + um * plot.direction.uy + vm * plot.direction.ux - start.y, 0.5);
    EXPECT_NEAR(frame(3), (plot.u1 - plot.u0) / 2, 1);
    EXPECT_NEAR(frame(4), (plot.v1 - plot.v0) / 2, 1);
    // The labels of the plan read the official count, which starts again at 34.150.
    const json& km = data["plan"]["windows"]["km"];
    const int64_t km_step = data["plan"]["windows"]["km_step_m"];
    EXPECT_EQ(km[static_cast<std::size_t>(28000 / km_step)], km_text(official_km_m(chainages, 28000)));
    EXPECT_EQ(km[static_cast<std::size_t>(300000 / km_step)], km_text(official_km_m(chainages, 300000)));

    const std::string page = view_page(scenario, {});
    EXPECT_LT(page.size(), 3u * 1024 * 1024);
    EXPECT_EQ(page.find("@DATA@"), std::string::npos);
    EXPECT_EQ(page.find("@SCRIPT@"), std::string::npos);
    EXPECT_NE(page.find("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'"), std::string::npos);
    EXPECT_NE(page.find("<title>Tratta_Esempio — TR 000 Esempio</title>"), std::string::npos);
}

TEST(ViewPage, TextsOfTheSourcesCannotEndTheDataEarly)
{
    TempFolder dir;
    auto fixture = testing::make_view_fixture(dir.path());
    fixture.extras.sources = ViewSources{"</script><b>@SCRIPT@", "a&b.txt"};
    const std::string page = view_page(fixture.scenario, fixture.extras);
    EXPECT_EQ(page.find("</script><b>"), std::string::npos);
    EXPECT_NE(page.find("\\u003c/script>\\u003cb>@SCRIPT@"), std::string::npos);
    // The page's own script is there once, after the data.
    EXPECT_GT(page.find("const ROUTE = JSON.parse"), page.find("\\u003c/script>"));
}

TEST(PlanLevels, AStraightStretchKeepsItsEndsAndACurveEnoughPoints)
{
    std::vector<PlanVertex> straight;
    for (int64_t m = 0; m <= 1000; ++m)
        straight.push_back({m, 0, static_cast<double>(m)});
    EXPECT_EQ(simplified(straight, 0.05).size(), 2u);

    // A quarter circle of 500 m radius: a chord of length c strays c^2 / 8R.
    std::vector<PlanVertex> curve;
    const double radius = 500;
    for (int64_t m = 0; m <= 785; ++m) {
        const double a = static_cast<double>(m) / radius;
        curve.push_back({m, radius - radius * std::cos(a), radius * std::sin(a)});
    }
    for (const double tolerance : {0.05, 1.0, 16.0}) {
        SCOPED_TRACE(tolerance);
        const auto kept = simplified(curve, tolerance);
        const double chord = std::sqrt(8 * radius * tolerance);
        // Douglas-Peucker keeps a few more points than the fewest possible, never many more.
        EXPECT_LE(kept.size(), static_cast<std::size_t>(1.5 * 785 / chord) + 3);
        EXPECT_GE(kept.size(), static_cast<std::size_t>(785 / (2 * chord)));
        const PlanLevel level{tolerance, kept};
        for (const auto& p : curve)
            ASSERT_LE(stray_m(level, p), tolerance) << p.m;
    }
}

TEST(IndicatorSpeeds, TheCellGivesBackTheBoardsSpeeds)
{
    const struct {
        int16_t value, value2, value3, value4;
        std::array<int, 6> speeds;
        int type1, type2;
        const char* label;
    } rows[] = {
        {1717, 1818, 1919, 0, {85, 90, 95, 85, 90, 95}, 0, 0, "85/90/95"},
        {1800, 1900, 2000, 0, {90, 95, 100, 0, 0, 0}, 0, 0, "90/95/100"},
        {2626, 2828, 2929, 22, {130, 140, 145, 130, 140, 145}, 2, 2, "130/140/145"},
        {1716, 1817, 1918, 1, {85, 90, 95, 80, 85, 90}, 0, 1, "85/90/95 · 80/85/90"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        tratta::RouteCell cell;
        cell.kind = tratta::kind_speed_indicator;
        cell.value = row.value;
        cell.value2 = row.value2;
        cell.value3 = row.value3;
        cell.value4 = row.value4;
        const IndicatorSpeeds s = decode_speed_indicator(cell);
        EXPECT_EQ(s.speed_kmh, row.speeds);
        EXPECT_EQ(s.type1, row.type1);
        EXPECT_EQ(s.type2, row.type2);
        EXPECT_EQ(indicator_label(s), row.label);
    }
}

TEST(ObjectWords, BoardTextsWithoutTheirBracketsAndTimesOfTheDay)
{
    EXPECT_EQ(board_label("(  Cippo  )(Km 28+000)"), "Cippo · Km 28+000");
    EXPECT_EQ(board_label("(Segn.)(Prot.)(Bivio Fornace)"), "Segn. · Prot. · Bivio Fornace");
    EXPECT_EQ(board_label("senza parentesi"), "senza parentesi");
    EXPECT_EQ(board_label(""), "");
    EXPECT_EQ(time_of_day(70520), "19:35:20");
    EXPECT_EQ(time_of_day(80940), "22:29:00");
    EXPECT_EQ(time_of_day(0), "");
}

TEST(ViewCommand, WritesThePageNamingTheSourcesAndRefusesOtherNames)
{
    TempFolder dir;
    const auto sources = testing::write_small_scenario(dir.path());
    ASSERT_EQ(testing::run_tool({"compile", sources.line_file.string(), sources.train_file.string(), "-o",
                                 (dir / "out").string()})
                  .status,
              0);
    const auto run = testing::run_tool({"view", (dir / "out").string(), "--sources", sources.line_file.string(),
                                        sources.train_file.string(), "-o", (dir / "route.html").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = read_bytes(dir / "route.html");
    EXPECT_NE(page.find("\"sources\":{\"line_file\":\"Valle_linea.txt\",\"train_file\":\"Valle_R 101-.txt\"}"),
              std::string::npos);
    EXPECT_NE(page.find("\"name\":\"Alfa\""), std::string::npos);

    // Sources edited after the compile (a mountain added) and sources of another
    // scenario do not belong to the binaries shown: the page would tell lines
    // and diagnostics of files that are not the ones drawn.
    fs::create_directories(dir / "edited");
    const auto edited = testing::write_small_scenario(dir / "edited", {"montagna,   7000,  9000,  12"});
    fs::create_directories(dir / "other");
    const auto other = testing::write_small_scenario(dir / "other", {}, {}, "Colle", "R 7");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message_part;
    } rows[] = {
        {{"-o", (dir / "route.png").string()}, 1, "route.png\": il nome del file da scrivere deve finire in .html"},
        {{"-o", (dir / "route").string()}, 1, "deve finire in .html"},
        {{"--sources", (dir / "manca.txt").string(), sources.train_file.string(), "-o", (dir / "x.html").string()},
         1, "manca.txt» non esiste"},
        {{"--sources", sources.line_file.string(), "-o", (dir / "x.html").string()}, 64, "«--sources» vuole 2 valori"},
        {{"--sources", edited.line_file.string(), edited.train_file.string(), "-o", (dir / "x.html").string()}, 1,
         "Valle_linea.txt» e «" + edited.train_file.string() + "» non si compilano nei file da mostrare: «" +
             (dir / "out" / "Valle_R 101.dat").string() + "» è diverso"},
        {{"--sources", other.line_file.string(), other.train_file.string(), "-o", (dir / "x.html").string()}, 1,
         "non si compilano nei file da mostrare: «" + (dir / "out" / "Valle_R 101.sim").string() + "» è diverso"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message_part);
        std::vector<std::string> args{"view", (dir / "out").string()};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto refused = testing::run_tool(args);
        EXPECT_EQ(refused.status, row.status);
        EXPECT_NE(refused.err.find(row.message_part), std::string::npos) << refused.err;
    }
    for (const char* name : {"route.png", "route", "x.html"})
        EXPECT_FALSE(fs::exists(dir / name)) << name;
}

} // namespace
} // namespace autore

namespace autore {
namespace {

// The sources given to the page: each object's line and the check's
// diagnostics come from the in-memory compile, as the fixture fills them by hand.
TEST(ViewSources, TheCompileGivesEachObjectItsLineAndTheCheckItsDiagnostics)
{
    TempFolder dir;
    const auto fixture = testing::make_view_fixture(dir.path());
    CompileRequest files;
    files.line_file = dir / "Valle_linea.txt";
    files.train_file = dir / "Valle_R 101-.txt";
    const CompiledFiles binaries = find_compiled(dir / "out", "", "");
    ViewExtras extras;
    ASSERT_EQ(add_sources(files, binaries, extras), std::nullopt);

    ASSERT_TRUE(extras.sources);
    EXPECT_EQ(extras.sources->line_file, "Valle_linea.txt");
    for (const ObjectSource& hand : fixture.extras.object_sources) {
        SCOPED_TRACE(hand.index);
        const auto found = std::find_if(extras.object_sources.begin(), extras.object_sources.end(), [&](const ObjectSource& o) {
            return o.table == hand.table && o.index == hand.index;
        });
        ASSERT_NE(found, extras.object_sources.end());
        EXPECT_EQ(found->place.file, hand.place.file);
        EXPECT_EQ(found->place.line, hand.place.line);
    }
    // The slowdown's cells come from its line too.
    EXPECT_TRUE(std::any_of(extras.object_sources.begin(), extras.object_sources.end(), [](const ObjectSource& o) {
        return o.table == ObjectSource::Table::cell && o.index == 131 && o.place.line == 12;
    }));
    // The speed board at 4000 m shows 85, 90 and 95 km/h where the train runs at 100.
    ASSERT_FALSE(extras.diagnostics.empty());
    EXPECT_EQ(extras.diagnostics.front().code, "cartello-velocita-discorde");
    EXPECT_EQ(extras.diagnostics.front().at_m, 4000);
    EXPECT_EQ(extras.diagnostics.front().place.line, 6);

    ViewExtras none;
    files.train_file = dir / "Valle_R 9-.txt";
    EXPECT_NE(add_sources(files, binaries, none), std::nullopt);
}

} // namespace
} // namespace autore
