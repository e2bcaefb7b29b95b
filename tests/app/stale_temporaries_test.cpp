// A run cleans its folder of what an earlier, killed run left: its own
// temporary files of a process that no longer runs, and nothing else.
#include "app/own_files.hpp"
#include "support/special_files.hpp"
#include "support/ended_process.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

using tratta::testing::ended_process;

TEST(OwnTemporaries, OnlyTheWritersExactPatternIsItsOwn)
{
    const struct {
        const char* name;
        bool own;
    } rows[] = {
        {"Valle_R 101.sim.tratta-tmp-4242-0", true},
        {"Valle_R 101.sim.tratta-bak-4242-17", true},
        {"Valle_linea.dat.tratta-set-4242-3", true},
        {"a.tratta-tmp-1-4294967295", true},
        {"a.tratta-tmp-4294967295-1", true},
        {"a.tratta-tmp-4294967296-1", false}, // more than a process number holds
        {"a.tratta-tmp-0-1", false},
        {"a.tratta-tmp-042-1", false},
        {"a.tratta-tmp-42-01", false},
        {"a.tratta-tmp-42-", false},
        {"a.tratta-tmp--1", false},
        {"a.tratta-tmp-42", false},
        {"a.tratta-tmp-42-1.txt", false},
        {"a.tratta-tmp-4x-1", false},
        {".tratta-tmp-42-1", false}, // no final name
        {"a.tratta-old-42-1", false},
        {"a.tmp123456-5", false}, // a name of the writer's older releases: no process to ask
        {"Valle_R 101.sim", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(is_own_temporary(row.name), row.own);
        EXPECT_EQ(is_own_temporary(fs::path("/some/folder") / row.name), row.own);
    }
    const auto made = own_name_beside("/f/Valle_linea.dat", OwnFile::temporary);
    EXPECT_TRUE(is_own_temporary(made));
    EXPECT_EQ(made.parent_path(), fs::path("/f"));
    EXPECT_EQ(made.filename().string().rfind("Valle_linea.dat.tratta-tmp-" + std::to_string(getpid()) + "-", 0), 0u);
}

TEST(OwnTemporaries, StaleOnesGoAndEverythingElseStays)
{
    TempFolder dir;
    const std::string dead = ended_process();
    const std::string alive = std::to_string(getppid());
    const std::string self = std::to_string(getpid());
    const struct {
        std::string name;
        bool removed;
    } files[] = {
        {"a.sim.tratta-tmp-" + dead + "-3", true},
        {"b.sim", false},                       // the final file of the backup below
        {"b.sim.tratta-bak-" + dead + "-4", true}, // its final file is there: the backup goes
        {"c.sim.tratta-tmp-" + alive + "-3", false}, // its process still runs
        {"d.sim.tratta-tmp-" + self + "-3", false},  // this process's own
        {"e.sim.tratta-tmp-0" + dead + "-3", false}, // not the exact pattern
        {"f.sim.tratta-tmp-" + dead + "-3.keep", false},
        {"g.tmp12345-5", false},
    };
    for (const auto& f : files)
        write_bytes(dir / f.name, "content of " + f.name);
    const auto folder_like = dir / ("h.sim.tratta-tmp-" + dead + "-1");
    const auto link_like = dir / ("i.sim.tratta-tmp-" + dead + "-1");
    const auto fifo_like = dir / ("j.sim.tratta-tmp-" + dead + "-1");
    ASSERT_TRUE(testing::make_special(testing::Special::folder, folder_like));
    ASSERT_TRUE(testing::make_special(testing::Special::link_to_regular, link_like, dir / "k.sim"));
    ASSERT_TRUE(testing::make_special(testing::Special::fifo, fifo_like));
    // A backup whose final file is gone holds the only old content: it is put back.
    write_bytes(dir / ("l.sim.tratta-bak-" + dead + "-9"), "old l");

    const auto handled = remove_stale_temporaries(dir.path());

    EXPECT_EQ(handled.size(), 3u);
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(fs::exists(dir / f.name), !f.removed);
    }
    EXPECT_TRUE(fs::is_directory(folder_like));
    EXPECT_TRUE(fs::is_symlink(link_like));
    EXPECT_EQ(read_bytes(dir / "k.sim"), "regular content");
    EXPECT_TRUE(fs::is_fifo(fifo_like));
    EXPECT_EQ(read_bytes(dir / "l.sim"), "old l");
    EXPECT_TRUE(remove_stale_temporaries(dir.path()).empty());
    EXPECT_TRUE(remove_stale_temporaries(dir / "no such folder").empty());
}

} // namespace
} // namespace tratta
