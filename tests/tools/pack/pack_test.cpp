// autore pack: the packed program of the exported template runs exactly as
// the embedded program; a packed author's scenario leaves what compile and
// documents make of it; a damaged scenario and wrong requests are refused.
#include "autore/pack/pack.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "autore/scenario_files/runner_places.hpp"
#include "scenario/text_writer.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sys/wait.h>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;
using testing::run_tool;

// Every file of a folder with its bytes, the programs left out.
std::map<std::string, std::string> files_left(const fs::path& dir, const std::string& program)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != program)
            files[e.path().filename().string()] = read_bytes(e.path());
    return files;
}

// Copies a program into a fresh folder and runs it there from another
// current folder; its exit status, its messages in `messages`.
int run_copy(const fs::path& program, const fs::path& dir, std::string* messages = nullptr)
{
    const fs::path exe = dir / program.filename();
    fs::copy_file(program, exe, fs::copy_options::overwrite_existing);
    const fs::path log = dir.parent_path() / (dir.filename().string() + ".log");
    const std::string command = "cd / && \"" + exe.string() + "\" 2>\"" + log.string() + "\"";
    const int status = std::system(command.c_str());
    if (messages != nullptr)
        *messages = read_bytes(log);
    fs::remove(log);
    return WEXITSTATUS(status);
}

std::vector<std::string> pack_args(const std::vector<std::string>& files, const fs::path& out)
{
    std::vector<std::string> args{"pack", "--linux", "--runner", TRATTA_RUNNER_PATH, "-o", out.string()};
    args.insert(args.end(), files.begin(), files.end());
    return args;
}

TEST(Pack, TheTemplatePackedRunsAsTheEmbeddedProgram)
{
    TempFolder work;
    ASSERT_EQ(run_tool({"export", (work / "tpl").string()}).status, 0);
    // The template with the embedded program's own three documents.
    const auto tpl = tratta::file_names(work / "tpl", tratta::scenario_constant, tratta::train_constant);
    write_bytes(tpl.notes, tratta::encode_data_set(tratta::note_data()));
    write_bytes(tpl.slowdowns, tratta::encode_data_set(tratta::rallentamenti_data()));
    write_bytes(tpl.timetable, tratta::encode_data_set(tratta::scheda_data()));
    const auto packed = run_tool(pack_args({tpl.line_source.string(), tpl.train_source.string(), tpl.notes.string(),
                                            tpl.slowdowns.string(), tpl.timetable.string()},
                                           work / "pacchetto"));
    ASSERT_EQ(packed.status, 0) << packed.err;

    fs::create_directory(work / "packed");
    fs::create_directory(work / "embedded");
    EXPECT_EQ(run_copy(work / "pacchetto", work / "packed"), 0);
    EXPECT_EQ(run_copy(TRATTA_PROGRAM_PATH, work / "embedded"), 0);
    const auto mine = files_left(work / "packed", "pacchetto");
    EXPECT_EQ(mine.size(), 6u);
    EXPECT_TRUE(mine == files_left(work / "embedded", "tratta_esempio"));
}

TEST(Pack, AnAuthorsScenarioLeavesWhatCompileAndDocumentsMake)
{
    TempFolder work;
    const auto s = testing::write_small_scenario(work.path(), {}, {"percentuale massa frenata,  120"});
    ASSERT_EQ(run_tool(pack_args({s.line_file.string(), s.train_file.string()}, work / "valle")).status, 0);
    ASSERT_EQ(run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", (work / "ref").string()}).status, 0);
    ASSERT_EQ(run_tool({"documents", s.line_file.string(), s.train_file.string(), "-o", (work / "ref").string()}).status, 0);

    fs::create_directory(work / "run");
    EXPECT_EQ(run_copy(work / "valle", work / "run"), 0);
    EXPECT_TRUE(files_left(work / "run", "valle") == files_left(work / "ref", ""));
}

TEST(Pack, ADamagedScenarioGetsTheErrorBoxAndNothingIsWritten)
{
    TempFolder work;
    const auto s = testing::write_small_scenario(work.path());
    ASSERT_EQ(run_tool(pack_args({s.line_file.string(), s.train_file.string()}, work / "valle")).status, 0);
    std::string bytes = read_bytes(work / "valle");
    bytes.pop_back(); // the last byte of the footer gone
    write_bytes(work / "valle", bytes);
    fs::permissions(work / "valle", fs::perms::owner_all);

    fs::create_directory(work / "run");
    std::string messages;
    EXPECT_EQ(run_copy(work / "valle", work / "run", &messages), 1);
    EXPECT_NE(messages.find("lo scenario di questo programma manca"), std::string::npos) << messages;
    EXPECT_TRUE(files_left(work / "run", "valle").empty());
    // The runner alone carries no scenario at all.
    fs::create_directory(work / "bare");
    EXPECT_EQ(run_copy(TRATTA_RUNNER_PATH, work / "bare", &messages), 1);
    EXPECT_TRUE(files_left(work / "bare", "tratta_runner").empty());
}

TEST(Pack, WrongRequestsWriteNothing)
{
    TempFolder work;
    const auto s = testing::write_small_scenario(work.path());
    const auto no_length = testing::write_small_scenario(work.path(), {}, {}, "Vuota", "R 1");
    write_bytes(no_length.line_file, tratta::testing::crlf_lines({"[generale]", "sfondo uno, 1", "[fine]"}));
    const std::string line = s.line_file.string();
    const std::string train = s.train_file.string();
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* message_part;
    } rows[] = {
        {"a Linux runner for Windows", {"pack", "--windows", "--runner", TRATTA_RUNNER_PATH, line, train, "-o", (work / "x.exe").string()}, "non è un programma per Windows"},
        {"no runner there", {"pack", "--linux", "--runner", (work / "none").string(), line, train, "-o", (work / "x").string()}, "none"},
        {"two documents only", pack_args({line, train, line, train}, work / "x"), "tutti e tre i documenti"},
        {"a scenario the program cannot compile", pack_args({no_length.line_file.string(), no_length.train_file.string()}, work / "x"), "non si compila"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto run = run_tool(row.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(work / "x"));
        EXPECT_FALSE(fs::exists(work / "x.exe"));
    }
}

// With no --runner and no runner in any of the folders looked in, the author
// is told every one of them, and nothing is written.
TEST(Pack, NoRunnerFoundNamesEveryFolderLookedIn)
{
    TempFolder work;
    const auto s = testing::write_small_scenario(work.path());
    const fs::path tool = work / "autore è" / "bin";
    fs::create_directories(tool);
    PackRequest rq;
    rq.sources.line_file = s.line_file;
    rq.sources.train_file = s.train_file;
    rq.output = work / "x.exe";
    const PackReport report = pack_scenario(rq, tool);
    EXPECT_EQ(report.exit_status, 1);
    ASSERT_EQ(report.problems.size(), 1u);
    const std::string& problem = report.problems[0];
    EXPECT_NE(problem.find("nessun \"tratta_runner.exe\""), std::string::npos) << problem;
    for (const fs::path& folder : runner_folders(tool))
        EXPECT_NE(problem.find("\"" + tratta::display_path(folder) + "\""), std::string::npos) << problem;
    EXPECT_NE(problem.find("--runner"), std::string::npos) << problem;
    EXPECT_FALSE(fs::exists(rq.output));
}

} // namespace
} // namespace autore
