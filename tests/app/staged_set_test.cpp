// The three binaries of a scenario change together: whatever step of the
// write fails, the folder keeps the old set; wherever the run is stopped,
// each file is whole (absent, old or new), the next run in the folder leaves
// each set all old or all new whether it writes or not, and no file of its own.
#include "app/file_faults.hpp"
#include "app/files.hpp"
#include "app/own_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
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

struct Product {
    std::string name;
    std::optional<std::string> old_content; // absent: no file before the run
    std::string new_content;
};

// The set with all three files there before, and the set of a first compile
// beside an older records file alone.
const std::vector<std::vector<Product>> sets = {
    {{"Valle_linea.dat", "old line table", std::string(70000, 'L')},
     {"Valle_R 101.sim", "old records", std::string(3000, 'S')},
     {"Valle_R 101.dat", "old grid", std::string(9000, 'G')}},
    {{"Valle_linea.dat", std::nullopt, std::string(70000, 'L')},
     {"Valle_R 101.sim", "old records", std::string(3000, 'S')},
     {"Valle_R 101.dat", std::nullopt, std::string(9000, 'G')}},
};

void lay_out_old(const fs::path& folder, const std::vector<Product>& set)
{
    for (const auto& p : set)
        if (p.old_content)
            write_bytes(folder / p.name, *p.old_content);
}

void write_set(const fs::path& folder, const std::vector<Product>& set)
{
    std::vector<StagedFile> staged;
    staged.reserve(set.size());
    for (const auto& p : set)
        staged.emplace_back(folder / p.name, p.new_content);
    replace_together(staged);
}

std::vector<std::string> names_of(const std::vector<Product>& set, bool only_old)
{
    std::vector<std::string> names;
    for (const auto& p : set)
        if (!only_old || p.old_content)
            names.push_back(p.name);
    std::sort(names.begin(), names.end());
    return names;
}

void expect_old_set(const fs::path& folder, const std::vector<Product>& set)
{
    for (const auto& p : set) {
        SCOPED_TRACE(p.name);
        if (p.old_content)
            EXPECT_EQ(read_bytes(folder / p.name), *p.old_content);
        else
            EXPECT_FALSE(fs::exists(folder / p.name));
    }
    EXPECT_EQ(folder_listing(folder), names_of(set, true));
}

void expect_new_set(const fs::path& folder, const std::vector<Product>& set)
{
    for (const auto& p : set)
        EXPECT_EQ(read_bytes(folder / p.name), p.new_content) << p.name;
    EXPECT_EQ(folder_listing(folder), names_of(set, false));
}

// The fault the hook makes: at the nth call of one step, fail with an error
// or stop the process there, as a kill would.
struct Fault {
    FileStep step;
    int nth;
    bool stop;
};
Fault fault{};
std::array<int, std::size(every_file_step)> calls{};
constexpr int stopped_status = 42;

// Links fail in the runs where the file system has one name per file (FAT).
bool without_links = false;

int counting_hook(FileStep step, const fs::path&)
{
    ++calls[static_cast<std::size_t>(step)];
    return without_links && step == FileStep::link ? EPERM : 0;
}

int faulty_hook(FileStep step, const fs::path&)
{
    const int n = ++calls[static_cast<std::size_t>(step)];
    if (step != fault.step || n != fault.nth)
        return 0;
    if (fault.stop)
        _exit(stopped_status);
    return step == FileStep::write ? ENOSPC : EIO;
}

// How many times a clean write of the set takes each step.
std::array<int, std::size(every_file_step)> steps_of(const std::vector<Product>& set)
{
    TempFolder dir;
    lay_out_old(dir.path(), set);
    calls = {};
    set_file_fault_hook(counting_hook);
    write_set(dir.path(), set);
    set_file_fault_hook(nullptr);
    return calls;
}

std::vector<Fault> every_fault(const std::vector<Product>& set, bool stop)
{
    const auto counts = steps_of(set);
    std::vector<Fault> faults;
    for (const FileStep step : every_file_step)
        for (int n = 1; n <= counts[static_cast<std::size_t>(step)]; ++n)
            faults.push_back({step, n, stop});
    return faults;
}

std::string trace(const Fault& f, std::size_t set)
{
    return std::string(f.stop ? "stop" : "fail") + " at " + file_step_name(f.step) + " " + std::to_string(f.nth) +
           ", set " + std::to_string(set);
}

TEST(StagedSetFaults, TheWalkReachesEveryStep)
{
    const auto counts = steps_of(sets[0]);
    for (const FileStep step : every_file_step)
        EXPECT_GE(counts[static_cast<std::size_t>(step)], 1) << file_step_name(step);
}

TEST(StagedSetFaults, AnyStepThatFailsLeavesTheOldSetAndNoFileOfItsOwn)
{
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (const Fault& f : every_fault(sets[s], false)) {
            SCOPED_TRACE(trace(f, s));
            TempFolder dir;
            lay_out_old(dir.path(), sets[s]);
            fault = f;
            calls = {};
            set_file_fault_hook(faulty_hook);
            std::string message;
            try {
                write_set(dir.path(), sets[s]);
            } catch (const FileFailure& failure) {
                message = failure.what();
            }
            set_file_fault_hook(nullptr);
            if (f.step == FileStep::link) {
                // Where no second link can be made the old file moves aside: the set is still written.
                EXPECT_EQ(message, "");
                expect_new_set(dir.path(), sets[s]);
                continue;
            }
            if (f.step == FileStep::remove) {
                // Only names no longer needed are removed once the set is in
                // place: the set stands new, and what is left is the writer's own.
                EXPECT_EQ(message, "");
                for (const auto& p : sets[s])
                    EXPECT_EQ(read_bytes(dir / p.name), p.new_content) << p.name;
                continue;
            }
            const char* cause = std::strerror(f.step == FileStep::write ? ENOSPC : EIO);
            EXPECT_NE(message.find(cause), std::string::npos) << message;
            EXPECT_TRUE(message.find("Valle") != std::string::npos || message.find(dir.path().string()) != std::string::npos)
                << message;
            expect_old_set(dir.path(), sets[s]);
        }
    }
}

// Which of the set's contents the folder holds: all old, all new, or a mix
// (a file absent before the run counts as old while it is absent).
enum class SetState { old_set, new_set, mixed };

SetState state_of(const fs::path& folder, const std::vector<Product>& set)
{
    bool any_old = false;
    bool any_new = false;
    for (const auto& p : set) {
        const auto file = folder / p.name;
        const std::optional<std::string> bytes =
            fs::exists(file) ? std::optional<std::string>(read_bytes(file)) : std::nullopt;
        if (bytes == p.old_content)
            any_old = true;
        else if (bytes == p.new_content)
            any_new = true;
        else
            return SetState::mixed; // a partial file, or one gone that was there
    }
    return any_old && any_new ? SetState::mixed : any_new ? SetState::new_set : SetState::old_set;
}

int stopping_hook(FileStep step, const fs::path& file)
{
    if (without_links && step == FileStep::link)
        return EPERM;
    return faulty_hook(step, file);
}

// Runs the work in a child process stopped at the fault, as a kill would stop it.
void run_stopped(const Fault& f, const std::function<void()>& work)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        fault = f;
        calls = {};
        set_file_fault_hook(stopping_hook);
        try {
            work();
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
}

// A run stopped at any step, then a run that writes nothing (it only cleans
// the folder as every run does first, and then fails), then a clean run: each
// set is all old or all new after each of them, and the clean run leaves the
// new set alone. On a file system with links and on one without.
TEST(StagedSetFaults, AStopAnywhereLeavesEachSetAllOldOrAllNew)
{
    for (const bool no_links : {false, true}) {
        without_links = no_links;
        for (std::size_t s = 0; s < sets.size(); ++s) {
            for (const Fault& f : every_fault(sets[s], true)) {
                SCOPED_TRACE(trace(f, s) + (no_links ? ", no links" : ""));
                TempFolder dir;
                lay_out_old(dir.path(), sets[s]);
                run_stopped(f, [&] { write_set(dir.path(), sets[s]); });
                for (const auto& name : folder_listing(dir.path())) {
                    const auto products = names_of(sets[s], false);
                    EXPECT_TRUE(is_own_temporary(name) || std::count(products.begin(), products.end(), name) == 1)
                        << name;
                }

                remove_stale_temporaries(dir.path());
                const SetState after_cleaning = state_of(dir.path(), sets[s]);
                EXPECT_NE(after_cleaning, SetState::mixed);
                for (const auto& name : folder_listing(dir.path()))
                    EXPECT_FALSE(is_own_temporary(name)) << name;

                write_set(dir.path(), sets[s]);
                expect_new_set(dir.path(), sets[s]);
            }
        }
    }
    without_links = false;
}

// The run that cleans up after a stopped one is stopped too, at each rename
// and removal of its own: the run after it still finds each set all old or
// all new (a finished set's record goes only after its backups).
TEST(StagedSetFaults, AStopWhileCleaningUpLeavesNoMixedSet)
{
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (const Fault& first : every_fault(sets[s], true)) {
            if (first.step != FileStep::rename && first.step != FileStep::remove)
                continue;
            for (const FileStep cleaning : {FileStep::rename, FileStep::remove}) {
                for (int nth = 1; nth <= 4; ++nth) {
                    SCOPED_TRACE(trace(first, s) + ", then stopped at clean-up " + file_step_name(cleaning) + " " +
                                 std::to_string(nth));
                    TempFolder dir;
                    lay_out_old(dir.path(), sets[s]);
                    run_stopped(first, [&] { write_set(dir.path(), sets[s]); });
                    run_stopped({cleaning, nth, true}, [&] { remove_stale_temporaries(dir.path()); });
                    remove_stale_temporaries(dir.path());
                    EXPECT_NE(state_of(dir.path(), sets[s]), SetState::mixed);
                    for (const auto& name : folder_listing(dir.path()))
                        EXPECT_FALSE(is_own_temporary(name)) << name;
                }
            }
        }
    }
}

// A backup that cannot be removed once the set is in place stays with the
// record of the set, so the next run removes it and never puts it back over
// the new file.
TEST(StagedSetFaults, ABackupLeftBehindIsNeverPutBackOverTheNewSet)
{
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (const Fault& f : every_fault(sets[s], false)) {
            if (f.step != FileStep::remove)
                continue;
            SCOPED_TRACE(trace(f, s));
            TempFolder dir;
            lay_out_old(dir.path(), sets[s]);
            run_stopped(f, [&] { write_set(dir.path(), sets[s]); });
            remove_stale_temporaries(dir.path());
            expect_new_set(dir.path(), sets[s]);
        }
    }
}

// A write that fails at a rename, after some files of the set have taken
// their names (one where no file stood before among them), is stopped at
// each step of putting the old set back: the next run finds each set all
// old or all new, and a clean run after it makes the new set.
int failing_rename = 0;
std::array<int, std::size(every_file_step)> after_failure{};
Fault rollback_stop{};

int rollback_hook(FileStep step, const fs::path&)
{
    if (without_links && step == FileStep::link)
        return EPERM;
    if (failing_rename > 0) {
        if (step == FileStep::rename && --failing_rename == 0)
            return EIO;
        return 0;
    }
    const int n = ++after_failure[static_cast<std::size_t>(step)];
    if (step == rollback_stop.step && n == rollback_stop.nth)
        _exit(stopped_status);
    return 0;
}

TEST(StagedSetFaults, AStopWhileTheOldSetIsPutBackLeavesNoMixedSet)
{
    for (const bool no_links : {false, true}) {
        without_links = no_links;
        for (std::size_t s = 0; s < sets.size(); ++s) {
            const int renames = steps_of(sets[s])[static_cast<std::size_t>(FileStep::rename)];
            for (int failing = 1; failing <= renames; ++failing) {
                // The steps of putting the old set back after that failure.
                TempFolder probe;
                lay_out_old(probe.path(), sets[s]);
                failing_rename = failing;
                after_failure = {};
                rollback_stop = {};
                set_file_fault_hook(rollback_hook);
                EXPECT_THROW(write_set(probe.path(), sets[s]), FileFailure);
                set_file_fault_hook(nullptr);
                expect_old_set(probe.path(), sets[s]);
                const auto rollback_steps = after_failure;

                for (const FileStep step : {FileStep::rename, FileStep::remove}) {
                    for (int nth = 1; nth <= rollback_steps[static_cast<std::size_t>(step)]; ++nth) {
                        SCOPED_TRACE("rename " + std::to_string(failing) + " fails, stopped at " +
                                     file_step_name(step) + " " + std::to_string(nth) + " putting back set " +
                                     std::to_string(s) + (no_links ? ", no links" : ""));
                        TempFolder dir;
                        lay_out_old(dir.path(), sets[s]);
                        const pid_t child = fork();
                        ASSERT_NE(child, -1);
                        if (child == 0) {
                            failing_rename = failing;
                            after_failure = {};
                            rollback_stop = {step, nth, true};
                            set_file_fault_hook(rollback_hook);
                            try {
                                write_set(dir.path(), sets[s]);
                            } catch (...) {
                            }
                            _exit(0);
                        }
                        int status = 0;
                        ASSERT_EQ(waitpid(child, &status, 0), child);
                        ASSERT_TRUE(WIFEXITED(status));
                        EXPECT_EQ(WEXITSTATUS(status), stopped_status);

                        remove_stale_temporaries(dir.path()); // the next run, whether it writes or fails
                        EXPECT_NE(state_of(dir.path(), sets[s]), SetState::mixed);
                        for (const auto& name : folder_listing(dir.path()))
                            EXPECT_FALSE(is_own_temporary(name)) << name;
                        write_set(dir.path(), sets[s]);
                        expect_new_set(dir.path(), sets[s]);
                    }
                }
            }
        }
    }
    without_links = false;
}

// A set is flushed once, and scratch files (sources the run deletes again)
// are not flushed at all.
TEST(StagedSet, EachLastingFileIsFlushedAndTheFolderOnce)
{
    TempFolder dir;
    calls = {};
    set_file_fault_hook(counting_hook);
    write_set(dir.path(), sets[0]);
    write_file_replacing(dir / "Valle_linea.txt", std::string_view("source"), Durability::scratch);
    set_file_fault_hook(nullptr);
    EXPECT_EQ(calls[static_cast<std::size_t>(FileStep::flush)], 3);
    EXPECT_EQ(calls[static_cast<std::size_t>(FileStep::folder_flush)], 1);
    // Three new files, the record of their set, and the source.
    EXPECT_EQ(calls[static_cast<std::size_t>(FileStep::create)], 5);
    EXPECT_EQ(read_bytes(dir / "Valle_linea.txt"), "source");
}

TEST(StagedSet, AllTakeTheirPlaceAndNoBackupRemains)
{
    for (const auto& set : sets) {
        TempFolder dir;
        lay_out_old(dir.path(), set);
        write_set(dir.path(), set);
        expect_new_set(dir.path(), set);
    }
}

// A folder has taken the last file's name since the set was staged: the set
// is refused before any file changes, the message says which file and why,
// and the folder stays where it is.
TEST(StagedSet, ANameTakenByAFolderMeanwhileRefusesTheWholeSet)
{
    const auto& set = sets[1];
    TempFolder dir;
    lay_out_old(dir.path(), set);
    std::vector<StagedFile> staged;
    for (const auto& p : set)
        staged.emplace_back(dir / p.name, p.new_content);
    fs::create_directory(dir / set[2].name);
    write_bytes(dir / set[2].name / "inside", "x");
    std::string message;
    try {
        replace_together(staged);
    } catch (const FileFailure& failure) {
        message = failure.what();
        EXPECT_EQ(failure.file(), dir / set[2].name);
    }
    EXPECT_NE(message.find("impossibile sostituire il file"), std::string::npos) << message;
    EXPECT_NE(message.find(set[2].name), std::string::npos) << message;
    EXPECT_NE(message.find("nessuno dei 3 file è cambiato"), std::string::npos) << message;
    EXPECT_EQ(read_bytes(dir / set[2].name / "inside"), "x");
    fs::remove_all(dir / set[2].name);
    expect_old_set(dir.path(), set);
    for (const auto& f : staged)
        EXPECT_TRUE(f.temporary().empty());
}

TEST(StagedSet, AFileReplacedOrDroppedIsUsedUp)
{
    TempFolder dir;
    StagedFile records(dir / "a.sim", "new");
    records.replace();
    EXPECT_EQ(read_bytes(dir / "a.sim"), "new");
    std::string message;
    try {
        records.replace();
    } catch (const FileFailure& failure) {
        message = failure.what();
    }
    EXPECT_NE(message.find("nessun nuovo contenuto"), std::string::npos) << message;
    EXPECT_EQ(folder_listing(dir.path()), std::vector<std::string>{"a.sim"});
}

} // namespace
} // namespace tratta
