// Whole runs: the compile step on small source files, and the program itself.
#include "app/avvio.hpp"
#include "app/files.hpp"
#include "app/file_names.hpp"
#include "app/platform.hpp"
#include "compile/compile.hpp"
#include "model/nearest.hpp"
#include "support/special_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <set>

namespace tratta {
namespace {

using testing::crlf_lines;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

const std::vector<std::string> clean_line = {
    "[generale]",
    "lunghezza percorso,    10000",
    "[pendenze]",
    "pendenza,  0,   0",
    "pendenza,  600,   -11",
    "[fine]",
};

const std::vector<std::string> clean_train = {
    "[generale]",
    "numero vetture,    16",
    "[vel_limite]",
    "velocita,  0,  100",
    "[fine]",
};

FileNames names_in(const TempFolder& dir) { return file_names(dir.path(), scenario_constant, train_constant); }

// The two source files laid in the folder, named as the program names its scenario.
FileNames sources_in(const TempFolder& dir, const std::vector<std::string>& line,
                     const std::vector<std::string>& train)
{
    const FileNames names = names_in(dir);
    write_bytes(names.line_source, crlf_lines(line));
    write_bytes(names.train_source, crlf_lines(train));
    return names;
}

// The sources of the folder compiled as the program compiles its own.
RunOutcome compile_outcome(const TempFolder& dir, bool line_table = true)
{
    return compile_folder_sources(dir.path(), scenario_constant, train_constant, line_table);
}

std::set<std::string> files_in(const TempFolder& dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.insert(e.path().filename().string());
    return names;
}

TEST(CompileStep, ACleanCompileWritesTheThreeFilesAndDeletesTheSources)
{
    TempFolder dir;
    const FileNames names = sources_in(dir, clean_line, clean_train);
    const RunOutcome outcome = compile_outcome(dir);
    EXPECT_EQ(outcome.exit_status, 0) << outcome.message;
    EXPECT_EQ(files_in(dir), (std::set<std::string>{"Tratta_Esempio_linea.dat", "Tratta_Esempio_TR 000 Esempio.sim",
                                                    "Tratta_Esempio_TR 000 Esempio.dat"}));
    EXPECT_EQ(read_bytes(names.grid).size(), 15u * (nearest(17000 / 50.0) + 1));
    EXPECT_EQ(read_bytes(names.line_table).size(), 2u * (12u + 10u * (10000u + 6997u)));
}

TEST(CompileStep, WithoutTheLineTableNoLineTableFileIsWritten)
{
    TempFolder dir;
    const FileNames names = sources_in(dir, clean_line, clean_train);
    EXPECT_EQ(compile_outcome(dir, false).exit_status, 0);
    EXPECT_FALSE(std::filesystem::exists(names.line_table));
    EXPECT_TRUE(std::filesystem::exists(names.grid));
}

TEST(CompileStep, ADataErrorStillWritesTheFilesButIsReported)
{
    TempFolder dir;
    std::vector<std::string> line = clean_line;
    line.insert(line.end() - 1, {"indicatori_vmax,  5000,  85,  90,  95,  0,  ,  ,  ,  0",
                                 "indicatori_vmax,  5010,  85,  90,  95,  0,  ,  ,  ,  0"});
    const FileNames names = sources_in(dir, line, clean_train);
    const RunOutcome outcome = compile_outcome(dir);
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_EQ(outcome.message,
              "Tratta_Esempio_linea.txt:7: errore 21 a 5010 m: indicatore di velocità su una cella occupata");
    EXPECT_TRUE(std::filesystem::exists(names.grid));
    EXPECT_TRUE(std::filesystem::exists(names.records));
}

TEST(CompileStep, ATakenStampFieldWritesNoBinaryAndLeavesOlderOnesAlone)
{
    // A speed indicator at 0 m lands in cell 1, whose value holds the stamp.
    TempFolder dir;
    std::vector<std::string> line = clean_line;
    line.insert(line.end() - 1, "indicatori_vmax,  0,  85,  90,  95,  0,  ,  ,  ,  0");
    const FileNames names = sources_in(dir, line, clean_train);
    write_bytes(names.records, "older scenario records");
    const RunOutcome outcome = compile_outcome(dir);
    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_TRUE(outcome.error_box);
    EXPECT_EQ(outcome.message, " Errore n. 1250");
    EXPECT_EQ(read_bytes(names.records), "older scenario records");
    EXPECT_FALSE(std::filesystem::exists(names.grid));
    EXPECT_FALSE(std::filesystem::exists(names.line_table));
    EXPECT_FALSE(std::filesystem::exists(names.line_source));
    EXPECT_FALSE(std::filesystem::exists(names.train_source));
}

TEST(CompileStep, NoRouteGridEndsTheRunWithNothingWritten)
{
    TempFolder dir;
    const RunOutcome outcome = compile_outcome(dir); // no line file at all: error 101
    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_FALSE(outcome.error_box);
    EXPECT_NE(outcome.message.find("101"), std::string::npos) << outcome.message;
    EXPECT_TRUE(files_in(dir).empty());
    // The records receive the two names even so.
    const CompileResult result = compile({{}, {}, scenario_constant, train_constant, true});
    EXPECT_EQ(result.outcome, CompileOutcome::failure);
    EXPECT_EQ(result.model.records[85].text, "Tratta_Esempio");
    EXPECT_EQ(result.model.records[86].text, "TR 000 Esempio");
}

// Each of the three binaries, the line table staged early among them.
TEST(CompileStep, AFileThatCannotBeWrittenEndsTheRunNamingIt)
{
    for (const auto target : {&FileNames::line_table, &FileNames::records, &FileNames::grid}) {
        TempFolder dir;
        const FileNames names = sources_in(dir, clean_line, clean_train);
        std::filesystem::create_directory(names.*target); // a folder where the file should go
        const RunOutcome outcome = compile_outcome(dir);
        SCOPED_TRACE(display_path((names.*target).filename()));
        EXPECT_EQ(outcome.exit_status, 1);
        EXPECT_NE(outcome.message.find(display_path((names.*target).filename())), std::string::npos)
            << outcome.message;
        // Nothing else of the three took a place.
        for (const auto other : {&FileNames::line_table, &FileNames::records, &FileNames::grid})
            if (other != target) {
                EXPECT_FALSE(std::filesystem::exists(names.*other));
            }
    }
}

// A run that fails for a file it cannot replace writes nothing at all: not
// the sources, not the documents, whichever of its eight names is taken.
TEST(ScenarioRun, ANameTakenByAnythingButAFileWritesNothing)
{
    namespace t = testing;
    const struct {
        t::Special special;
        std::filesystem::path FileNames::*file;
    } rows[] = {
        {t::Special::fifo, &FileNames::records},
        {t::Special::folder, &FileNames::grid},
        {t::Special::dangling_link, &FileNames::line_table},
        {t::Special::fifo, &FileNames::timetable},
    };
    for (const auto& row : rows) {
        TempFolder dir;
        const FileNames names = names_in(dir);
        SCOPED_TRACE(std::string(t::special_name(row.special)) + " at " + (names.*row.file).filename().string());
        ASSERT_TRUE(t::make_special(row.special, names.*row.file, dir / "elsewhere"));
        const RunOutcome outcome = esegui_scenario(dir.path());
        EXPECT_EQ(outcome.exit_status, 1);
        EXPECT_NE(outcome.message.find((names.*row.file).filename().string()), std::string::npos) << outcome.message;
        EXPECT_EQ(files_in(dir), (std::set<std::string>{(names.*row.file).filename().string()}));
    }
}

TEST(Platform, TheProgramFolderIsTheFolderOfTheRunningProgram)
{
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(platform::program_folder(), exe.parent_path());
}

// The program itself, copied into a fresh folder and run there with another
// current directory: everything it makes lies beside it.
class ProgramRun : public ::testing::Test {
protected:
    int run_copy(const TempFolder& dir)
    {
        const auto exe = dir / "tratta_esempio";
        std::filesystem::copy_file(TRATTA_PROGRAM_PATH, exe, std::filesystem::copy_options::overwrite_existing);
        const std::string command = "cd / && \"" + exe.string() + "\" 2>/dev/null";
        const int status = std::system(command.c_str());
        return WEXITSTATUS(status);
    }
};

TEST_F(ProgramRun, LeavesSixFilesBesideItselfAndTwoRunsAreIdentical)
{
    TempFolder dir;
    ASSERT_EQ(run_copy(dir), 0);
    const std::set<std::string> expected = {
        "tratta_esempio",
        "Tratta_Esempio_TR 000 Esempio_note.txt",
        "Tratta_Esempio_TR 000 Esempio_rallentamenti.txt",
        "Tratta_Esempio_TR 000 Esempio_scheda_treno.txt",
        "Tratta_Esempio_linea.dat",
        "Tratta_Esempio_TR 000 Esempio.sim",
        "Tratta_Esempio_TR 000 Esempio.dat",
    };
    EXPECT_EQ(files_in(dir), expected);

    std::map<std::string, std::string> first;
    for (const auto& name : expected)
        first[name] = read_bytes(dir / name);

    // Stamps: record 85's stamp 610 and cell 1's stamp 5121 (bytes 1, 20 at offset 16).
    const std::string& grid = first["Tratta_Esempio_TR 000 Esempio.dat"];
    ASSERT_GT(grid.size(), 18u);
    EXPECT_EQ(static_cast<unsigned char>(grid[16]), 1);
    EXPECT_EQ(static_cast<unsigned char>(grid[17]), 20);
    EXPECT_EQ(grid.size(), 102315u);
    EXPECT_EQ(first["Tratta_Esempio_linea.dat"].size(), 6819964u);

    // A longer older file is replaced whole, and a second run gives the same bytes.
    write_bytes(dir / "Tratta_Esempio_TR 000 Esempio_note.txt", std::string(200000, 'x'));
    ASSERT_EQ(run_copy(dir), 0);
    for (const auto& name : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(read_bytes(dir / name), first[name]);
    }
}

// Two copies started at once in the same folder (a double double-click): the
// second waits for the first, and the folder ends with the one right set.
TEST_F(ProgramRun, TwoCopiesAtOnceLeaveOneRightSet)
{
    TempFolder dir;
    const auto exe = dir / "tratta_esempio";
    std::filesystem::copy_file(TRATTA_PROGRAM_PATH, exe);
    for (int trial = 0; trial < 3; ++trial) {
        SCOPED_TRACE(trial);
        pid_t copies[2];
        for (pid_t& pid : copies) {
            pid = fork();
            ASSERT_NE(pid, -1);
            if (pid == 0) {
                const int null = open("/dev/null", O_WRONLY);
                dup2(null, 2);
                execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
        }
        for (const pid_t pid : copies) {
            int status = 0;
            ASSERT_EQ(waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0);
        }
        EXPECT_EQ(files_in(dir).size(), 7u);
        EXPECT_EQ(read_bytes(dir / "Tratta_Esempio_TR 000 Esempio.sim").size(), 4000u);
        EXPECT_EQ(read_bytes(dir / "Tratta_Esempio_TR 000 Esempio.dat").size(), 102315u);
        EXPECT_EQ(read_bytes(dir / "Tratta_Esempio_linea.dat").size(), 6819964u);
    }
}

} // namespace
} // namespace tratta
