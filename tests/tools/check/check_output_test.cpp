// What the check writes: the lines editors link to, the JSON array, the
// SARIF log, and the exit statuses of check and compile.
#include "autore/analysis/check.hpp"
#include "autore/diagnostics/report_formats.hpp"

#include "support/embedded_compile.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace autore {
namespace {

using nlohmann::json;
using tratta::testing::TempFolder;
using testing::run_tool;
using testing::write_small_scenario;

// A signal on the cell of a speed board, and a letter for a digit.
const std::vector<std::string> board = {"indicatori_vmax,  3000,  95,  100,  105,  0,  ,  ,  ,  0"};
const std::vector<std::string> speed = {"velocita,  5000,  1O0"};

std::vector<Diagnostic> sample_diagnostics()
{
    auto line = testing::small_line_lines();
    line.insert(line.end() - 1, board.begin(), board.end());
    auto train = testing::small_train_lines();
    train.insert(train.end() - 1, speed.begin(), speed.end());
    return check_scenario({tratta::testing::crlf_lines(line), tratta::testing::crlf_lines(train), "Valle", "R 101"})
        .diagnostics;
}

const SourceNames names{"Valle_linea.txt", "Valle_R 101-.txt"};

TEST(CheckOutput, TextLinesLinkEveryPlaceAndItsNotes)
{
    std::ostringstream out;
    write_text(sample_diagnostics(), names, out);
    EXPECT_EQ(out.str(),
              "Valle_R 101-.txt:10:1: error [16]: segnale su una cella occupata a 3000 m: la cella 61 (3050 m) ha già un "
              "indicatore di velocità\n"
              "Valle_linea.txt:6:1: note: qui un indicatore di velocità che occupa la cella 61 (3050 m)\n"
              "Valle_R 101-.txt:11:19: warning [numero-malformato]: «1O0» per il campo «velocità» di «velocita» "
              "letto come 1: lettere dopo le cifre (forse «100»?)\n"
              "Valle_R 101-.txt:11:19: warning [velocita-arrotondata]: 1 km/h si memorizza in unità di 5 km/h: "
              "diventa 0 km/h\n");
}

TEST(CheckOutput, JsonIsTheDocumentedArray)
{
    const json got = json::parse(diagnostics_json(sample_diagnostics(), names).dump());
    const json expected = json::parse(R"json([
      {"file": "Valle_R 101-.txt", "line": 10, "column": 1, "end_column": 8, "severity": "error", "code": "16",
       "message": "segnale su una cella occupata a 3000 m: la cella 61 (3050 m) ha già un indicatore di velocità", "at_m": 3000,
       "related": [{"file": "Valle_linea.txt", "line": 6, "column": 1, "end_column": 16,
                    "message": "qui un indicatore di velocità che occupa la cella 61 (3050 m)"}]},
      {"file": "Valle_R 101-.txt", "line": 11, "column": 19, "end_column": 22, "severity": "warning",
       "code": "numero-malformato",
       "message": "«1O0» per il campo «velocità» di «velocita» letto come 1: lettere dopo le cifre (forse «100»?)",
       "at_m": null, "related": []},
      {"file": "Valle_R 101-.txt", "line": 11, "column": 19, "end_column": 22, "severity": "warning",
       "code": "velocita-arrotondata", "message": "1 km/h si memorizza in unità di 5 km/h: diventa 0 km/h",
       "at_m": null, "related": []}
    ])json");
    EXPECT_EQ(got, expected) << got.dump(1);
}

TEST(CheckOutput, SarifHoldsTheRulesTheResultsAndTheirRegions)
{
    const auto diagnostics = sample_diagnostics();
    const json log = diagnostics_sarif(diagnostics, names, "1.2.3");
    EXPECT_EQ(log["version"], "2.1.0");
    EXPECT_EQ(log["$schema"], "https://json.schemastore.org/sarif-2.1.0.json");
    ASSERT_EQ(log["runs"].size(), 1u);
    const json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "autore");
    EXPECT_EQ(run["tool"]["driver"]["version"], "1.2.3");
    std::set<std::string> rules;
    for (const json& rule : run["tool"]["driver"]["rules"]) {
        EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty());
        EXPECT_TRUE(rules.insert(rule["id"]).second) << "each rule once";
    }
    ASSERT_EQ(run["results"].size(), diagnostics.size());
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        SCOPED_TRACE(i);
        const json& r = run["results"][i];
        EXPECT_TRUE(rules.count(r["ruleId"].get<std::string>()));
        EXPECT_EQ(r["level"], diagnostics[i].is_error() ? "error" : "warning");
        EXPECT_EQ(r["message"]["text"], diagnostics[i].message);
        const json& location = r["locations"][0]["physicalLocation"];
        EXPECT_EQ(location["region"]["startLine"], diagnostics[i].place.line);
        EXPECT_EQ(location["region"]["startColumn"], diagnostics[i].place.column);
        EXPECT_GE(location["region"]["endColumn"].get<int>(), location["region"]["startColumn"].get<int>());
    }
    // A blank in a file name is escaped in its URI; a related place travels with its result.
    EXPECT_EQ(run["results"][0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "Valle_R%20101-.txt");
    EXPECT_EQ(run["results"][0]["relatedLocations"][0]["physicalLocation"]["artifactLocation"]["uri"], "Valle_linea.txt");
}

TEST(CheckOutput, TheEmbeddedScenarioHasNoErrorAndTwoRealWarnings)
{
    const auto& e = tratta::testing::embedded_compile();
    const CheckReport report = check_scenario({e.line, e.train, "Tratta_Esempio", "TR 000 Esempio"});
    EXPECT_EQ(report.errors(), 0u);
    ASSERT_EQ(report.warnings(), 2u);
    // The curve at 80850 m stands after curves that reach 89400 m, and the
    // gradient at 1250 m is written with a decimal comma.
    EXPECT_EQ(report.diagnostics[0].code, "curva-senza-effetto");
    EXPECT_EQ(report.diagnostics[0].place.line, 58);
    EXPECT_EQ(report.diagnostics[1].code, "campo-in-piu");
    EXPECT_EQ(report.diagnostics[1].place.line, 203);
}

TEST(CheckCommand, ExitStatusesAndFormats)
{
    TempFolder dir;
    const auto clean = write_small_scenario(dir.path(), {}, {}, "Pulito", "R 1");
    const auto warned = write_small_scenario(dir.path(), {}, speed, "Avvisi", "R 1");
    const auto faulty = write_small_scenario(dir.path(), board, {}, "Errori", "R 1");
    const auto files = [](const testing::SmallScenario& s) {
        return std::vector<std::string>{s.line_file.string(), s.train_file.string()};
    };
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
        const char* out_part;
    } rows[] = {
        {"clean", files(clean), 0, ""},
        {"warnings alone", files(warned), 0, "warning [numero-malformato]"},
        {"warnings with --strict", {files(warned)[0], files(warned)[1], "--strict"}, 2, "warning"},
        {"an error", files(faulty), 2, "error [16]"},
        {"json", {files(faulty)[0], files(faulty)[1], "--format", "json"}, 2, "\"code\": \"16\""},
        {"sarif", {files(faulty)[0], files(faulty)[1], "--format", "sarif"}, 2, "\"version\": \"2.1.0\""},
        {"a file that is not there", {files(clean)[0], (dir / "Pulito_R 9-.txt").string()}, 1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::string> args{"check"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto run = run_tool(args);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_NE(run.out.find(row.out_part), std::string::npos) << run.out;
    }
    // The check writes nothing.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 6);
}

TEST(CheckCommand, CompilePrintsTheSameDiagnostics)
{
    TempFolder dir;
    const auto s = write_small_scenario(dir.path(), board, speed, "Valle", "R 101");
    const auto check = run_tool({"check", s.line_file.string(), s.train_file.string()});
    const auto compile = run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (dir / "out").string()});
    EXPECT_EQ(compile.status, 2);
    EXPECT_EQ(compile.err, check.out);
}

} // namespace
} // namespace autore
