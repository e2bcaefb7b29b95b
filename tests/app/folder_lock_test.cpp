// One run at a time in a folder: a second run waits for the first and goes on
// once it is done, or gives up with a message naming the folder; nothing
// planted at the lock's name is followed or waited on.
#include "app/folder_lock.hpp"
#include "app/files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::TempFolder;

std::string lock_failure(const fs::path& folder, std::chrono::milliseconds patience)
{
    try {
        const FolderLock lock(folder, patience);
    } catch (const FileFailure& failure) {
        return failure.what();
    }
    return "";
}

TEST(FolderLock, ASecondRunWaitsForTheFirstToEnd)
{
    TempFolder dir;
    std::optional<FolderLock> first(std::in_place, dir.path());
    std::thread first_ends([&] {
        std::this_thread::sleep_for(300ms);
        first.reset();
    });
    const auto start = Clock::now();
    {
        const FolderLock second(dir.path(), 5s);
        EXPECT_GE(Clock::now() - start, 250ms);
    }
    first_ends.join();
    EXPECT_TRUE(fs::is_empty(dir.path())) << "the lock leaves nothing in the folder";
}

TEST(FolderLock, ASecondRunGivesUpAfterItsPatienceNamingTheFolder)
{
    TempFolder dir;
    const FolderLock first(dir.path());
    const auto start = Clock::now();
    const std::string message = lock_failure(dir.path(), 200ms);
    EXPECT_GE(Clock::now() - start, 200ms);
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_NE(message.find("cartella " + dir.path().string()), std::string::npos) << message;
    EXPECT_NE(message.find("un'altra copia del programma"), std::string::npos) << message;
    EXPECT_NE(message.find("nulla è stato scritto"), std::string::npos) << message;
    EXPECT_NE(lock_failure(dir.path(), 2000ms).find("entro 2 secondi"), std::string::npos);
}

// Two processes, as two copies of the program started at once.
TEST(FolderLock, TwoProcessesTakeTurns)
{
    TempFolder dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const FolderLock lock(dir.path());
        [[maybe_unused]] const auto n = write(ready[1], "1", 1);
        std::this_thread::sleep_for(400ms);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_NE(lock_failure(dir.path(), 100ms), "") << "the first run still holds the folder";
    EXPECT_EQ(lock_failure(dir.path(), 5s), "") << "the first run has ended";
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(ready[0]);
    close(ready[1]);
}

TEST(FolderLock, AFolderThatIsNotThereIsNamed)
{
    EXPECT_NE(lock_failure("/nonexistent-folder-of-tratta", 100ms).find("nonexistent-folder-of-tratta"),
              std::string::npos);
}

} // namespace
} // namespace tratta
