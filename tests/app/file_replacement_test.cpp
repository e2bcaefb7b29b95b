// Writing the run's files: the new content replaces the old file whole, and a
// write that cannot be completed leaves the old file as it was and no stray
// file in the folder.
#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/stop_signals.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tratta::testing::folder_listing;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

TEST(WriteFileReplacing, NewContentReplacesTheOldFileWhole)
{
    struct Row {
        const char* what;
        bool old_exists;
        std::string old_content;
        std::string new_content;
    };
    const std::vector<Row> rows = {
        {"no old file", false, "", "abc\r\n"},
        {"longer old file", true, std::string(5000, 'x'), "abc\r\n"},
        {"shorter old file", true, "ab", std::string(3000, 'y')},
        {"empty new content", true, "old", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder dir;
        const auto file = dir / "Tratta_Esempio_linea.dat";
        if (row.old_exists)
            write_bytes(file, row.old_content);
        tratta::write_file_replacing(file, row.new_content);
        EXPECT_EQ(read_bytes(file), row.new_content);
        EXPECT_EQ(folder_listing(dir.path()), std::vector<std::string>{"Tratta_Esempio_linea.dat"});
    }
}

// Failures that hold for an administrator too: permission bits alone do not
// stop root, so the folder is made unusable by its shape or the old file is
// marked read-only (which the writer refuses for everyone).
TEST(WriteFileReplacing, FailureNamesTheFileAndKeepsTheOldOne)
{
    enum class Obstacle { folder_is_a_file, target_is_a_folder, read_only_file };
    struct Row {
        const char* what;
        Obstacle obstacle;
        const char* cause;
    };
    const std::vector<Row> rows = {
        {"folder path is a file", Obstacle::folder_is_a_file, "impossibile creare il file"},
        {"a folder stands at the file's name", Obstacle::target_is_a_folder, "cartella"},
        {"read-only old file", Obstacle::read_only_file, "sola lettura"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder dir;
        fs::path file = dir / "Tratta_Esempio.sim";
        switch (row.obstacle) {
        case Obstacle::folder_is_a_file:
            write_bytes(dir / "cartella", "not a folder");
            file = dir / "cartella" / "Tratta_Esempio.sim";
            break;
        case Obstacle::target_is_a_folder:
            fs::create_directory(file);
            break;
        case Obstacle::read_only_file:
            write_bytes(file, "old content");
            fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            break;
        }
        const auto before = folder_listing(dir.path());
        try {
            tratta::write_file_replacing(file, std::string(2000, 'n'));
            ADD_FAILURE() << "the write was reported as done";
        } catch (const tratta::FileFailure& failure) {
            const std::string message = failure.what();
            EXPECT_NE(message.find(tratta::display_path(file)), std::string::npos) << message;
            EXPECT_NE(message.find(row.cause), std::string::npos) << message;
        }
        EXPECT_EQ(folder_listing(dir.path()), before);
        if (row.obstacle == Obstacle::read_only_file) {
            EXPECT_EQ(read_bytes(file), "old content");
            fs::permissions(file, fs::perms::owner_all);
        }
    }
}

// A write cut short by the system (here a file size limit, as a full disk
// would) must not leave a truncated file under the final name. The limit
// would kill the program with SIGXFSZ half-way; ignored as the program
// ignores it, it is a write that fails with EFBIG and a message. The limit is
// set in a child process so that the test program itself keeps writing freely.
TEST(WriteFileReplacing, WriteCutShortKeepsTheOldFile)
{
    TempFolder dir;
    const auto file = dir / "Tratta_Esempio_linea.dat";
    const std::string old_content(1000, 'o');
    write_bytes(file, old_content);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        tratta::ignore_file_size_signal();
        const rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(3);
        try {
            tratta::write_file_replacing(file, std::string(100000, 'n'));
        } catch (const tratta::FileFailure& failure) {
            const std::string message = failure.what();
            const bool named = message.find(tratta::display_path(file)) != std::string::npos &&
                               message.find("impossibile scrivere il file") != std::string::npos &&
                               message.find(std::strerror(EFBIG)) != std::string::npos;
            _exit(named ? 0 : 2);
        } catch (...) {
            _exit(4);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported as written, 2: message, 3: limit, 4: other failure";
    EXPECT_EQ(read_bytes(file), old_content);
    EXPECT_EQ(folder_listing(dir.path()), std::vector<std::string>{"Tratta_Esempio_linea.dat"});
}

// Files staged together change together: until replace() the old files keep
// their content, and staged files dropped unreplaced leave nothing behind.
TEST(StagedFile, OldFilesStayUntilReplacedAndDroppedOnesLeaveNothing)
{
    TempFolder dir;
    const auto records = dir / "Tratta_Esempio_TR 000 Esempio.sim";
    const auto grid = dir / "Tratta_Esempio_TR 000 Esempio.dat";
    write_bytes(records, "old records");
    write_bytes(grid, "old grid");
    {
        std::vector<tratta::StagedFile> staged;
        staged.emplace_back(records, "new records");
        staged.emplace_back(grid, "new grid"); // the move of the first keeps its temporary file
        EXPECT_EQ(read_bytes(records), "old records");
        EXPECT_EQ(folder_listing(dir.path()).size(), 4u);
    }
    EXPECT_EQ(read_bytes(records), "old records");
    EXPECT_EQ(read_bytes(grid), "old grid");
    EXPECT_EQ(folder_listing(dir.path()).size(), 2u);

    tratta::StagedFile records_update(records, "new records");
    tratta::StagedFile grid_update(grid, "new grid");
    records_update.replace();
    grid_update.replace();
    EXPECT_EQ(read_bytes(records), "new records");
    EXPECT_EQ(read_bytes(grid), "new grid");
    EXPECT_EQ(folder_listing(dir.path()).size(), 2u);
}

// A run that cannot write one of its files ends with status 1 and a message
// naming that file; a name taken by a folder is seen before the first file is
// written, so nothing at all is written, not even the sources.
TEST(RunFileFailure, EndsTheRunNamingTheFile)
{
    TempFolder dir;
    const auto names = tratta::file_names(dir.path(), tratta::scenario_constant, tratta::train_constant);
    fs::create_directory(names.notes);

    const tratta::RunOutcome outcome = tratta::esegui_scenario(dir.path());

    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_FALSE(outcome.error_box);
    EXPECT_NE(outcome.message.find(tratta::display_path(names.notes)), std::string::npos) << outcome.message;
    EXPECT_FALSE(fs::exists(names.line_source));
    EXPECT_FALSE(fs::exists(names.train_source));
    EXPECT_FALSE(fs::exists(names.slowdowns));
    EXPECT_FALSE(fs::exists(names.records));
}
