// A run stopped from outside takes its temporary files with it, and a set
// being renamed is finished before the stop.
#include "app/file_faults.hpp"
#include "app/files.hpp"
#include "app/own_files.hpp"
#include "app/stop_signals.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;
using testing::folder_listing;
using testing::write_bytes;

TEST(StopSignals, AStoppedRunLeavesNoTemporaryFile)
{
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal_number));
        TempFolder dir;
        write_bytes(dir / "Valle_R 101.sim", "old records");
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            install_cleanup_on_signals();
            const StagedFile records(dir / "Valle_R 101.sim", std::string(5000, 'n'));
            const StagedFile grid(dir / "Valle_R 101.dat", std::string(5000, 'g'));
            [[maybe_unused]] const auto n = write(ready[1], "1", 1);
            for (;;)
                pause();
        }
        char c = 0;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        EXPECT_EQ(folder_listing(dir.path()).size(), 3u) << "the two temporary files are there";
        kill(child, signal_number);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << "ended by the same signal";
        EXPECT_EQ(folder_listing(dir.path()), std::vector<std::string>{"Valle_R 101.sim"});
        EXPECT_EQ(read_bytes(dir / "Valle_R 101.sim"), "old records");
        close(ready[0]);
        close(ready[1]);
    }
}

// The stop arrives while the set is being renamed: the set is finished
// first, so the simulator finds one whole set.
int stop_at_first_rename(FileStep step, const fs::path&)
{
    static bool sent = false;
    if (step == FileStep::rename && !sent) {
        sent = true;
        raise(SIGTERM);
    }
    return 0;
}

TEST(StopSignals, ASetBeingRenamedIsFinishedBeforeTheStop)
{
    TempFolder dir;
    write_bytes(dir / "a.sim", "old a");
    write_bytes(dir / "a.dat", "old b");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        install_cleanup_on_signals();
        std::vector<StagedFile> set;
        set.emplace_back(dir / "a.sim", "new a");
        set.emplace_back(dir / "a.dat", "new b");
        set.emplace_back(dir / "a_linea.dat", "new c");
        set_file_fault_hook(stop_at_first_rename);
        replace_together(set);
        _exit(0); // not reached: the stop comes as the set is done
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(read_bytes(dir / "a.sim"), "new a");
    EXPECT_EQ(read_bytes(dir / "a.dat"), "new b");
    EXPECT_EQ(read_bytes(dir / "a_linea.dat"), "new c");
    EXPECT_EQ(folder_listing(dir.path()).size(), 3u);
}

TEST(StopSignals, TheTableTakesAFixedNumberOfNames)
{
    std::vector<RemovalOnStop> names;
    for (int i = 0; i < 40; ++i)
        names.emplace_back(fs::path("/nowhere") / std::to_string(i));
    const auto registered = std::count_if(names.begin(), names.end(), [](const auto& r) { return r.registered(); });
    EXPECT_EQ(registered, 32);
    names.front().release();
    EXPECT_TRUE(RemovalOnStop(fs::path("/nowhere/again")).registered()) << "a released slot is free again";
    EXPECT_FALSE(RemovalOnStop(fs::path(std::string(5000, 'x'))).registered());
}

} // namespace
} // namespace tratta
