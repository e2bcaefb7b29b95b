// The command line as a person types it: help, version, and every way of
// getting it wrong, each told in Italian with what was meant.
#include "autore/diagnostics/rule_summaries.hpp"
#include "autore/command_line/nearest_name.hpp"
#include "autore/version.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace autore {
namespace {

const char* const subcommands[] = {"export", "compile", "check",     "dump", "plot",      "view",
                                   "documents", "timetable", "help", "completion"};

// Every line the tool wrote on standard error is its own, in Italian.
void expect_own_lines(const std::string& err)
{
    std::istringstream lines(err);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(line.starts_with("autore: ")) << line;
        for (const char* english : {"required", "Run with", "expected", "argument", "not in", "Usage", "Options"})
            EXPECT_EQ(line.find(english), std::string::npos) << line;
    }
}

TEST(Cli, HelpAndVersionGoToStandardOutputWithStatus0)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> words;
    } rows[] = {
        {{"--help"}, {"Uso: autore SOTTOCOMANDO", "Sottocomandi:", "timetable", "completion", "64 riga di comando"}},
        {{"-h"}, {"Sottocomandi:"}},
        {{"help"}, {"Sottocomandi:", "-V, --version"}},
        {{"help", "compile"}, {"Uso: autore compile FILE_LINEA FILE_TRENO [OPZIONI]", "--no-line-table"}},
        {{"compile", "--help"}, {"Uso: autore compile FILE_LINEA FILE_TRENO [OPZIONI]", "Stato d'uscita"}},
        {{"plot", "--help"}, {"Uso: autore plot INGRESSO... -o FILE_SVG [OPZIONI]", "(da 1 a 3)", "(obbligatoria)"}},
        {{"dump", "-h"}, {"--type sim|dat|linea", "--step METRI"}},
        {{"view", "--help"}, {"--sources FILE_LINEA FILE_TRENO"}},
        // Help comes before the rest of the line is judged, as in git and cargo.
        {{"compile", "--help", "--bogus"}, {"Uso: autore compile"}},
        {{"--version"}, {"autore " + std::string(tool_version) + "\n"}},
        {{"-V"}, {"autore " + std::string(tool_version) + "\n"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[0] + (row.args.size() > 1 ? " " + row.args[1] : ""));
        const auto run = testing::run_tool(row.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        for (const auto& w : row.words)
            EXPECT_NE(run.out.find(w), std::string::npos) << w << "\n" << run.out;
        EXPECT_EQ(run.out.find("(1x)"), std::string::npos);
        EXPECT_EQ(run.out.find("TEXT"), std::string::npos);
    }
    for (const char* sub : subcommands) {
        SCOPED_TRACE(sub);
        const auto run = testing::run_tool({"help", sub});
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.out.starts_with("autore " + std::string(sub) + ": ")) << run.out;
        EXPECT_EQ(run.out, testing::run_tool({sub, "--help"}).out);
    }
}

TEST(Cli, AWrongCommandLineIsNamedWithWhatWasMeantAndEndsWith64)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> words;
    } rows[] = {
        {{}, {"manca il sottocomando", "«export»", "«timetable»"}},
        {{"frobnicate"}, {"sottocomando «frobnicate» sconosciuto; forse «", "«autore help» elenca"}},
        {{"frobnicate", "--help"}, {"sottocomando «frobnicate» sconosciuto"}},
        {{"comple"}, {"sottocomando «comple» sconosciuto; forse «compile»?"}},
        {{"dupm", "x.sim"}, {"forse «dump»?"}},
        {{"--bogus"}, {"opzione «--bogus» sconosciuta; forse «--help»?"}},
        {{"--vresion"}, {"forse «--version»?"}},
        {{"help", "frobnicate"}, {"sottocomando «frobnicate» sconosciuto"}},
        {{"compile", "only-one.txt"}, {"manca FILE_TRENO", "«autore help compile» descrive"}},
        {{"compile", "a.txt", "b.txt", "c.txt"}, {"argomento «c.txt» in più", "vuole FILE_LINEA FILE_TRENO"}},
        {{"compile", "a.txt", "b.txt", "--trian", "X"}, {"opzione «--trian» sconosciuta", "forse «--train»?"}},
        {{"compile", "--ouput", "x"}, {"opzione «--ouput» sconosciuta per «autore compile»; forse «--output»?"}},
        {{"plot", "--ouptut", "x.svg"}, {"opzione «--ouptut» sconosciuta", "forse «--output»?"}},
        {{"export", "a", "b"}, {"argomento «b» in più", "vuole CARTELLA"}},
        {{"export", "a", "--froce"}, {"forse «--force»?"}},
        {{"dump", "x.sim", "--step", "0"}, {"«--step» vuole un numero intero da 1 a 10000000, non «0»"}},
        {{"dump", "x.sim", "--step", "abc"}, {"«--step» vuole un numero intero", "non «abc»"}},
        {{"dump", "x.sim", "--step", "99999999999999999999999"}, {"«--step» vuole un numero intero"}},
        {{"dump", "x.sim", "--type", "exe"}, {"«--type» vuole «sim», «dat» o «linea», non «exe»"}},
        {{"dump", "x.sim", "--type", "dta"}, {"forse «dat»?"}},
        {{"check", "a", "b", "--format", "xml"}, {"«--format» vuole «text», «json» o «sarif»"}},
        {{"plot", "dir"}, {"manca l'opzione «-o/--output»"}},
        {{"plot", "dir", "-o"}, {"«-o/--output» vuole un valore (FILE_SVG)"}},
        {{"plot", "dir", "-o", "a.svg", "-o", "b.svg"}, {"«-o/--output» data più di una volta"}},
        {{"plot", "a", "b", "c", "d", "-o", "x.svg"}, {"troppi argomenti INGRESSO: al più 3, dati 4"}},
        {{"view", "d", "-o", "x.html", "--sources", "a"}, {"«--sources» vuole 2 valori"}},
        {{"timetable", "a", "b", "--accel", "0"}, {"«--accel» vuole un numero da 0.05 a 2 m/s², non «0»"}},
        {{"timetable", "a", "b", "--accel", "1e-300"}, {"«--accel» vuole un numero da 0.05 a 2 m/s²"}},
        {{"timetable", "a", "b", "--accel", "40"}, {"«--accel» vuole un numero da 0.05 a 2 m/s²"}},
        {{"timetable", "a", "b", "--decel", "0,01"}, {"«--decel» vuole un numero da 0.05 a 3 m/s², non «0,01»"}},
        {{"documents", "a", "b", "--decel", "1e300"}, {"«--decel» vuole un numero da 0.05 a 3 m/s²"}},
        {{"documents", "a", "b", "--dwell", "-5"}, {"«--dwell» vuole un numero da 0 a 86400 s, non «-5»"}},
        {{"documents", "a", "b", "--dwell", "1e9"}, {"«--dwell» vuole un numero da 0 a 86400 s"}},
        {{"completion"}, {"manca SHELL"}},
        {{"completion", "zsh"}, {"SHELL vuole «bash», non «zsh»"}},
    };
    for (const auto& row : rows) {
        std::string trace;
        for (const auto& a : row.args)
            trace += a + " ";
        SCOPED_TRACE(trace);
        const auto run = testing::run_tool(row.args);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        for (const auto& w : row.words)
            EXPECT_NE(run.err.find(w), std::string::npos) << w << "\n" << run.err;
        expect_own_lines(run.err);
    }
}

TEST(Cli, TheCheckHelpNamesEveryRule)
{
    const auto run = testing::run_tool({"check", "--help"});
    EXPECT_EQ(run.status, 0);
    for (const RuleSummary& r : warning_rules())
        EXPECT_NE(run.out.find(std::string(r.code)), std::string::npos) << r.code << "\n" << run.out;
}

TEST(Cli, ADecimalCommaIsTakenAsAPoint)
{
    // The rates pass the check; the missing files are then the problem.
    const auto run = testing::run_tool({"timetable", "a_linea.txt", "a_T-.txt", "--accel", "0,5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("«a_linea.txt» non esiste"), std::string::npos) << run.err;
}

TEST(Cli, TheNearestNameTakesFewestEdits)
{
    const struct {
        const char* typed;
        const char* nearest;
    } rows[] = {{"comple", "compile"}, {"dupm", "dump"}, {"veiw", "view"}, {"tiemtable", "timetable"},
                {"--sceanrio", "--scenario"}};
    const std::vector<std::string> names = {"compile", "completion", "dump",      "view",
                                            "timetable", "--scenario", "--train"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        EXPECT_EQ(nearest_name(row.typed, names), row.nearest);
    }
    EXPECT_EQ(edit_distance("dupm", "dump"), 1u);
    EXPECT_EQ(edit_distance("", "abc"), 3u);
    EXPECT_EQ(nearest_name("x", {}), "");
}

} // namespace
} // namespace autore
