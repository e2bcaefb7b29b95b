#include "autore/scenario_files/compile_sources.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "model/error_meanings.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;
using testing::run_tool;
using testing::write_small_scenario;

// Every file of a folder with its bytes (folders in it left out).
std::map<std::string, std::string> contents(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file())
            files[e.path().filename().string()] = read_bytes(e.path());
    return files;
}

// The system's temporary folder pointed at a folder of this test's own for as
// long as it lives, so that what a compile leaves there is seen whatever else
// runs on the machine.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder()
    {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        setenv("TMPDIR", folder_.path().c_str(), 1);
    }
    ~OwnTemporaryFolder()
    {
        if (old_)
            setenv("TMPDIR", old_->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    OwnTemporaryFolder(const OwnTemporaryFolder&) = delete;
    OwnTemporaryFolder& operator=(const OwnTemporaryFolder&) = delete;
    bool empty() const { return fs::is_empty(folder_.path()); }

private:
    TempFolder folder_;
    std::optional<std::string> old_;
};


TEST(Compile, TheExportedTemplateCompilesToTheProgramsOwnBytes)
{
    TempFolder program;
    ASSERT_EQ(tratta::esegui_scenario(program.path()).exit_status, 0);

    TempFolder author;
    ASSERT_EQ(run_tool({"export", author.path().string()}).status, 0);
    const auto sources = tratta::file_names(author.path(), "Tratta_Esempio", "TR 000 Esempio");
    const auto run = run_tool({"compile", sources.line_source.string(), sources.train_source.string(), "-o",
                               (author / "out").string()});
    EXPECT_EQ(run.status, 0) << run.err;

    const auto mine = tratta::file_names(program.path(), "Tratta_Esempio", "TR 000 Esempio");
    const auto tools = tratta::file_names(author / "out", "Tratta_Esempio", "TR 000 Esempio");
    for (const auto& [a, b] : {std::pair{mine.line_table, tools.line_table}, std::pair{mine.records, tools.records},
                               std::pair{mine.grid, tools.grid}}) {
        SCOPED_TRACE(b.filename().string());
        ASSERT_TRUE(fs::exists(b));
        EXPECT_TRUE(read_bytes(a) == read_bytes(b));
    }
    EXPECT_EQ(contents(author / "out").size(), 3u);
}

TEST(Compile, AFaultNamesItsNumberChainageAndTheAuthorsFileAndLine)
{
    const std::string indicator = "indicatori_vmax,  5000,  85,  90,  95,  0,  85,  90,  95,  0";
    const std::string station = "stazione,    5025, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta";
    const struct {
        const char* what;
        std::vector<std::string> line_extra, train_extra;
        bool in_line_file;
        int line;
        int column;
        int code;
        int at_m;
    } rows[] = {
        {"second speed indicator on the same cell", {indicator, indicator}, {}, true, 7, 1, 21, 5000},
        {"second signal on the same cell", {}, {"segnale,  3000,  2, 4, 1, 1, 0, 2, 2,1,1, 0"}, false, 11, 1, 16, 3000},
        {"station off the 50 m grid", {}, {station}, false, 11, 14, 8, 5025},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder dir;
        const auto s = write_small_scenario(dir.path(), row.line_extra, row.train_extra);
        const auto run = run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (dir / "out").string()});
        EXPECT_EQ(run.status, 2);
        const std::string where = (row.in_line_file ? s.line_file : s.train_file).string();
        const std::string expected = where + ":" + std::to_string(row.line) + ":" + std::to_string(row.column) +
                                     ": error [" + std::to_string(row.code) +
                                     "]: " + std::string(tratta::error_meaning(row.code)) + " a " +
                                     std::to_string(row.at_m) + " m";
        EXPECT_TRUE(run.err.starts_with(expected)) << run.err;
        // The files are written as the program would write them.
        EXPECT_EQ(contents(dir / "out").size(), 3u);
    }
}

TEST(Compile, EveryRecordedErrorIsReportedInTheOrderItCame)
{
    // A gradient beyond the grid ends the line file with error 15; the train
    // file is still read and stops at its first signal with 15 again.
    TempFolder dir;
    const auto s = write_small_scenario(dir.path(), {"pendenza,  20000,   3"});
    const auto run = run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (dir / "out").string()});
    EXPECT_EQ(run.status, 2);
    const std::string meaning(tratta::error_meaning(15));
    const std::size_t line_error = run.err.find(s.line_file.string() + ":6:12: error [15]: " + meaning + " a 20000 m");
    const std::size_t train_error = run.err.find(s.train_file.string() + ":10:1: error [15]: " + meaning + " a 3000 m");
    EXPECT_NE(line_error, std::string::npos) << run.err;
    EXPECT_NE(train_error, std::string::npos) << run.err;
    EXPECT_LT(line_error, train_error);
}

TEST(Compile, TheAuthorsFilesSurviveEveryPath)
{
    const struct {
        const char* what;
        std::vector<std::string> line_extra, train_extra;
        std::vector<std::string> options;
        int status;
        bool without_length = false;
    } rows[] = {
        {"clean", {}, {}, {}, 0},
        {"data error", {}, {"abbattimento,  3000,  270", "abbattimento,  3000,  270"}, {}, 2},
        {"stamp field taken", {}, {"segnale,  0,  2, 4, 1, 1, 0, 2, 2,1,1, 0"}, {}, 1},
        {"no route length, so no grid", {}, {}, {}, 1, true},
        {"bad train name", {}, {}, {"--train", "a/b"}, 1},
        {"no line table", {}, {}, {"--no-line-table"}, 0},
    };
    const OwnTemporaryFolder temporary;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder dir;
        const auto s = write_small_scenario(dir.path(), row.line_extra, row.train_extra);
        if (row.without_length)
            write_bytes(s.line_file, tratta::testing::crlf_lines({"[generale]", "sfondo uno, 1", "[fine]"}));
        const auto before = contents(dir.path());
        std::vector<std::string> args = {"compile", s.line_file.string(), s.train_file.string(), "-o",
                                         (dir / "out").string()};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const auto run = run_tool(args);
        EXPECT_EQ(run.status, row.status) << run.err;
        auto after = contents(dir.path());
        EXPECT_EQ(after, before);
        if (row.status == 1) {
            EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out"));
        }
    }
    EXPECT_TRUE(temporary.empty());
}

TEST(Compile, AnUnreadableSourceWritesNothing)
{
    TempFolder dir;
    const auto s = write_small_scenario(dir.path());
    const auto run = run_tool({"compile", s.line_file.string(), (dir / "Valle_R 2-.txt").string(), "-o",
                               (dir / "out").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Valle_R 2-.txt"), std::string::npos) << run.err;
    EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out"));
}

TEST(Compile, ABinaryThatWouldReplaceASourceIsRefused)
{
    TempFolder dir;
    const auto s = write_small_scenario(dir.path());
    // An author's line file that happens to bear the name of the records file to be made.
    fs::rename(s.line_file, dir / "a_T.sim");
    const auto line_before = read_bytes(dir / "a_T.sim");
    const auto run = run_tool({"compile", (dir / "a_T.sim").string(), s.train_file.string(), "--scenario", "a",
                               "--train", "T", "-o", dir.path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("sorgente"), std::string::npos) << run.err;
    EXPECT_EQ(read_bytes(dir / "a_T.sim"), line_before);
    EXPECT_FALSE(fs::exists(dir / "a_T.dat"));
}

TEST(Compile, ABinaryThatCannotBeWrittenLeavesTheOutputFolderAsItWas)
{
    TempFolder dir;
    const auto s = write_small_scenario(dir.path());
    const auto out = tratta::file_names(dir / "out", "Valle", "R 101");
    fs::create_directories(out.grid); // a folder where the last binary should go
    write_bytes(out.line_table, "older line table");
    write_bytes(out.records, "older records");
    const auto before = contents(dir / "out");

    const auto run = run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (dir / "out").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(out.grid.filename().string()), std::string::npos) << run.err;
    EXPECT_EQ(contents(dir / "out"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 3);
}

TEST(Compile, NamesComeFromTheFileNamesOrFromTheOptions)
{
    EXPECT_EQ(scenario_from_line_file("x/Tratta_Esempio_linea.txt"), "Tratta_Esempio");
    EXPECT_EQ(scenario_from_line_file("_linea.txt"), std::nullopt);
    EXPECT_EQ(scenario_from_line_file("Tratta.txt"), std::nullopt);
    EXPECT_EQ(train_from_train_file("x/Tratta_Esempio_TR 000 Esempio-.txt", "Tratta_Esempio"), "TR 000 Esempio");
    EXPECT_EQ(train_from_train_file("Altra_TR 1-.txt", "Tratta_Esempio"), std::nullopt);
    EXPECT_EQ(train_from_train_file("Tratta_Esempio_-.txt", "Tratta_Esempio"), std::nullopt);

    TempFolder dir;
    const auto s = write_small_scenario(dir.path());
    fs::rename(s.line_file, dir / "linea.txt");
    fs::rename(s.train_file, dir / "treno.txt");
    const auto guessed = run_tool({"compile", (dir / "linea.txt").string(), (dir / "treno.txt").string(), "-o",
                                   (dir / "out").string()});
    EXPECT_EQ(guessed.status, 1);
    EXPECT_NE(guessed.err.find("--scenario"), std::string::npos) << guessed.err;

    const auto named = run_tool({"compile", (dir / "linea.txt").string(), (dir / "treno.txt").string(), "-o",
                                 (dir / "out").string(), "--scenario", "Valle", "--train", "R 101"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(fs::exists(dir / "out" / "Valle_R 101.sim"));
    EXPECT_TRUE(fs::exists(dir / "out" / "Valle_R 101.dat"));
    EXPECT_TRUE(fs::exists(dir / "out" / "Valle_linea.dat"));
}

TEST(Compile, WithoutTheLineTableAnOlderOneIsLeftAlone)
{
    TempFolder dir;
    const auto s = write_small_scenario(dir.path());
    fs::create_directory(dir / "out");
    write_bytes(dir / "out" / "Valle_linea.dat", "older");
    const auto run = run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (dir / "out").string(),
                               "--no-line-table"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_bytes(dir / "out" / "Valle_linea.dat"), "older");
    EXPECT_EQ(contents(dir / "out").size(), 3u);
}

// The compile tells what the check tells, whether it makes the line table
// (one compile gives both) or not (the curves are read for the check all the same).
TEST(Compile, PrintsTheChecksDiagnosticsWithOrWithoutTheLineTable)
{
    TempFolder dir;
    ASSERT_EQ(run_tool({"export", (dir / "tpl").string()}).status, 0);
    const auto tpl = tratta::file_names(dir / "tpl", tratta::scenario_constant, tratta::train_constant);
    const auto check = run_tool({"check", tpl.line_source.string(), tpl.train_source.string()});
    ASSERT_EQ(check.status, 0);
    ASSERT_NE(check.out.find("curva-senza-effetto"), std::string::npos) << check.out;
    for (const bool line_table : {true, false}) {
        SCOPED_TRACE(line_table ? "with the line table" : "without the line table");
        std::vector<std::string> args{"compile", tpl.line_source.string(), tpl.train_source.string(), "-o",
                                      (dir / "out").string()};
        if (!line_table)
            args.push_back("--no-line-table");
        const auto run = run_tool(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, check.out);
    }
}

} // namespace
} // namespace autore
