#include "autore/diff/diff_command.hpp"

#include "tools/decompile/decompile_support.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <functional>

namespace autore {
namespace {

namespace fs = std::filesystem;
using testing::compile_lines;
using testing::run_tool;
using testing::ScenarioLines;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

// A 10 km line with a curve, a gradient, a mountain, two boards, two
// stations, signals, a slowdown and a code point; the chainage shows the
// official km 1000 m ahead of the route's own count.
ScenarioLines base_lines()
{
    ScenarioLines s;
    s.line_general = {"progressiva chilometrica uno,  0,  1000,  0"};
    s.line_body = {"curvad4,  1000,  300", "pendenza,  2000,  5", "montagna,  3000,  4000,  12",
                   "indicatori_vmax,  2500,  85,  90,  95,  0,  85,  90,  95,  0", "cartello_indicatore,  4500,  (Km 5+500)"};
    s.train_general = {"numero vetture,  5"};
    s.train_body = {"aderenza,  0,  80",
                    "velocita,  0,  100",
                    "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, Alfa",
                    "stazione,    6000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 10, 0, Beta",
                    "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
                    "rallentamento,  8000,    60,  500, 0,  0,  0",
                    "abbattimento,  5000,  270"};
    return s;
}

void replace(std::vector<std::string>& lines, const std::string& from, const std::string& to)
{
    for (auto& l : lines)
        if (l.find(from) != std::string::npos)
            l = to;
}

struct DiffCase {
    const char* name;
    std::function<void(ScenarioLines&)> edit;
    std::vector<std::string> said; // what the report must say, at its place
};

const DiffCase diff_cases[] = {
    {"station_added",
     [](auto& s) { s.train_body.push_back("stazione,    7000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Gamma"); },
     {"stazione «Gamma» aggiunta a 7000 m (km 8.000)"}},
    {"station_removed", [](auto& s) { replace(s.train_body, "Beta", "-"); },
     {"stazione «Beta» tolta da 6000 m (km 7.000)"}},
    {"station_moved", [](auto& s) { replace(s.train_body, "Beta", "stazione,    6300, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 10, 0, Beta"); },
     {"stazione «Beta» spostata da 6000 m (km 7.000) a 6300 m (km 7.300)"}},
    {"station_retimed", [](auto& s) { replace(s.train_body, "Beta", "stazione,    6000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 12, 30, Beta"); },
     {"stazione «Beta»: orario 08.10.00 → 08.12.30"}},
    {"station_values_changed",
     [](auto& s) { replace(s.train_body, "Beta", "stazione,    6000, 12,  600,  1, 0, 0,  2,0,0,  0,0,0,    0,   8, 10, 0, Beta"); },
     {"stazione «Beta»: inizio della zona (rispetto alla stazione): -200 → -300; fine della zona (rispetto alla "
      "stazione): 200 → 300; primo indicatore: 0 → 1; primo gruppo, valore 1: 0 → 2"}},
    {"signal_added", [](auto& s) { s.train_body.push_back("segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1, 0"); },
     {"aggiunto a 5500 m (km 6.500)"}},
    {"signal_changed", [](auto& s) { replace(s.train_body, "segnale", "segnale,    3000,   2, 5, 1,  1, 0,    2,  2,1,1, 0"); },
     {"segnale a 3000 m (km 4.000): primo valore 42 → 52"}},
    {"speed_board_changed",
     [](auto& s) { replace(s.line_body, "indicatori_vmax", "indicatori_vmax,  2500,  80,  90,  95,  0,  80,  90,  95,  0"); },
     {"indicatore di velocità a 2500 m (km 3.500): velocità 1 e 4 85/85 km/h → 80/80 km/h"}},
    {"sign_board_changed", [](auto& s) { replace(s.line_body, "cartello_indicatore", "cartello_indicatore,  4500,  (Km 5+600)"); },
     {"a 4500 m (km 5.500): «(Km 5+500)» → «(Km 5+600)»"}},
    {"code_point_removed", [](auto& s) { replace(s.train_body, "abbattimento", "-"); },
     {"punto di abbattimento tolto da 5000 m (km 6.000) (codice 270)"}},
    {"slowdown_changed", [](auto& s) { replace(s.train_body, "rallentamento", "rallentamento,  8000,    50,  500, 0,  0,  0"); },
     {"inizio rallentamento a 8000 m (km 9.000): velocità 60 km/h → 50 km/h",
      "fine rallentamento a 8500 m (km 9.500): velocità 60 km/h → 50 km/h"}},
    {"speed_limit_stretch",
     [](auto& s) {
         s.train_body.insert(s.train_body.begin() + 2, "velocita,  2000,  80");
         s.train_body.insert(s.train_body.begin() + 3, "velocita,  2500,  100");
     },
     {"limite di velocità da 2000 m (km 3.000) a 2500 m (km 3.500): 100 km/h → 80 km/h"}},
    {"adhesion_stretch", [](auto& s) { s.train_body.insert(s.train_body.begin() + 1, "aderenza,  9000,  60"); },
     {"aderenza da 9000 m (km 10.000) a"}},
    {"gradient_stretch", [](auto& s) { replace(s.line_body, "pendenza", "pendenza,  2000,  -3"); },
     {"pendenza da 2000 m (km 3.000) a", "5 ‰ → -3 ‰"}},
    {"plan_departs", [](auto& s) { replace(s.line_body, "curvad4", "curvad4,  1000,  350"); },
     {"pianta del binario da 1301 m (km 2.301) a", "si scosta fino a"}},
    {"header_value", [](auto& s) { s.train_general = {"numero vetture,  6"}; },
     {"intestazione: numero delle vetture: 5 → 6"}},
};

class RailwayDiff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(RailwayDiff, EachChangeIsNamedAtItsPlace)
{
    TempFolder dir;
    ASSERT_EQ(compile_lines(dir / "a", base_lines()).status, 0);
    ScenarioLines changed = base_lines();
    GetParam().edit(changed);
    ASSERT_EQ(compile_lines(dir / "b", changed).status, 0);
    const auto run = run_tool({"diff", (dir / "a").string(), (dir / "b").string()});
    EXPECT_EQ(run.status, 1) << run.err;
    for (const auto& said : GetParam().said)
        EXPECT_NE(run.out.find(said), std::string::npos) << said << "\n" << run.out;
    // The sources say the same as the compiled files.
    const auto sources = run_tool({"diff", (dir / "a" / "Valle_linea.txt").string(),
                                   (dir / "a" / "Valle_R 101-.txt").string(), (dir / "b" / "Valle_linea.txt").string(),
                                   (dir / "b" / "Valle_R 101-.txt").string()});
    EXPECT_EQ(sources.status, 1) << sources.err;
    EXPECT_NE(sources.out.find(GetParam().said.front()), std::string::npos) << sources.out;
}

INSTANTIATE_TEST_SUITE_P(Diff, RailwayDiff, ::testing::ValuesIn(diff_cases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Diff, TheSameScenarioGivesNothingAndStatus0)
{
    TempFolder dir;
    ASSERT_EQ(compile_lines(dir / "a", base_lines()).status, 0);
    const auto run = run_tool({"diff", (dir / "a").string(), (dir / "a").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST(Diff, EmbeddedScenarioWithOneStationMovedNamesThatStationAndNothingElse)
{
    TempFolder dir;
    ASSERT_EQ(testing::compile_embedded(dir.path()), 0);
    ASSERT_EQ(run_tool({"export", (dir / "mossa").string()}).status, 0);
    const auto train = dir / "mossa" / "Tratta_Esempio_TR 000 Esempio-.txt";
    std::string text = read_bytes(train);
    const std::string from = "stazione,   55650,";
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(), "stazione,   55950,");
    write_bytes(train, text);
    const auto run = run_tool({"diff", dir.path().string(), (dir / "mossa" / "Tratta_Esempio_linea.txt").string(),
                               train.string(), "--format", "json"});
    EXPECT_EQ(run.status, 1) << run.err;
    const auto changes = nlohmann::json::parse(run.out);
    ASSERT_EQ(changes.size(), 1u) << run.out;
    EXPECT_EQ(changes[0]["what"], "stazione");
    EXPECT_EQ(changes[0]["change"], "spostato");
    EXPECT_EQ(changes[0]["at_m"], 55950);
    EXPECT_EQ(changes[0]["km"], "59.000");
    EXPECT_EQ(changes[0]["text"], "stazione «Poggio Ventoso» spostata da 55650 m (km 58.700) a 55950 m (km 59.000)");
}

struct OneFileCase {
    const char* file;
    const char* said;
};

// One file of each version, as git hands a driver: each speaks of its own part.
TEST(Diff, OneFileOfEachVersionSpeaksOfWhatThatFileHolds)
{
    TempFolder dir;
    ASSERT_EQ(compile_lines(dir / "a", base_lines()).status, 0);
    ScenarioLines changed = base_lines();
    replace(changed.train_body, "Beta", "stazione,    6300, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 10, 0, Beta");
    changed.train_body.push_back("segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1, 0");
    replace(changed.line_body, "curvad4", "curvad4,  1000,  350");
    ASSERT_EQ(compile_lines(dir / "b", changed).status, 0);
    const OneFileCase cases[] = {
        {"Valle_R 101.sim", "stazione «Beta» spostata da 6000 m (km 7.000) a 6300 m (km 7.300)"},
        {"Valle_R 101.dat", "aggiunto a 5500 m"},
        {"Valle_linea.dat", "pianta del binario da 1301 m"},
        {"Valle_linea.txt", "pianta del binario da 1301 m"},
        {"Valle_R 101-.txt", "stazione «Beta» spostata"},
    };
    for (const auto& c : cases) {
        const auto run = run_tool({"diff", (dir / "a" / c.file).string(), (dir / "b" / c.file).string()});
        EXPECT_EQ(run.status, 1) << c.file << run.err;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << c.file << "\n" << run.out;
    }
    // A .sim alone holds no cells: the signal is not its to tell.
    const auto records = run_tool({"diff", (dir / "a" / "Valle_R 101.sim").string(), (dir / "b" / "Valle_R 101.sim").string()});
    EXPECT_EQ(records.out.find("5500"), std::string::npos);
}

TEST(Diff, TroubleGivesStatus2)
{
    TempFolder dir;
    ASSERT_EQ(compile_lines(dir / "a", base_lines()).status, 0);
    auto run = run_tool({"diff", (dir / "a").string(), (dir / "manca").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("manca"), std::string::npos);
    write_bytes(dir / "rotto.dat", "12345");
    run = run_tool({"diff", (dir / "a" / "Valle_R 101.dat").string(), (dir / "rotto.dat").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("rotto.dat"), std::string::npos);
    run = run_tool({"diff", (dir / "a" / "Valle_R 101.dat").string(), (dir / "a" / "Valle_R 101.sim").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("non hanno parti da confrontare"), std::string::npos);
}

// The recipe of the README, in a repository of its own: git diff and git log
// on compiled files and sources speak of the railway.
TEST(Diff, AsGitsDiffDriverOnAScenarioRepository)
{
    if (std::system("git --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "git non c'è";
    TempFolder dir;
    ASSERT_EQ(compile_lines(dir / "repo", base_lines()).status, 0);
    const fs::path autore = fs::path(AUTORE_PROGRAM_PATH);
    write_bytes(dir / "repo" / ".gitattributes", "*.sim diff=tratta\n*.dat diff=tratta\n*.txt diff=tratta\n");
    const std::string git = "cd '" + (dir / "repo").string() + "' && git -c user.name=a -c user.email=a@b ";
    ASSERT_EQ(std::system((git + "init -q && " + git + "config diff.tratta.command '" + autore.string() +
                           " diff --git' && " + git + "add -A && " + git + "commit -qm uno")
                              .c_str()),
              0);
    ScenarioLines changed = base_lines();
    replace(changed.train_body, "Beta", "stazione,    6300, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 10, 0, Beta");
    ASSERT_EQ(compile_lines(dir / "repo", changed).status, 0);
    ASSERT_EQ(std::system((git + "diff > ../diff.txt && " + git + "commit -qam due && " + git +
                           "log -p --ext-diff -1 > ../log.txt")
                              .c_str()),
              0);
    for (const auto* file : {"diff.txt", "log.txt"}) {
        const std::string text = read_bytes(dir / file);
        EXPECT_NE(text.find("diff --tratta a/Valle_R 101.sim b/Valle_R 101.sim\nstazione «Beta» spostata da 6000 m "
                            "(km 7.000) a 6300 m (km 7.300)"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("diff --tratta a/Valle_R 101-.txt b/Valle_R 101-.txt\nstazione «Beta» spostata"),
                  std::string::npos)
            << text;
    }
}

} // namespace
} // namespace autore
