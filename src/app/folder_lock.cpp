#include "app/folder_lock.hpp"

#include "app/file_steps.hpp"
#include "app/files.hpp"

#include <algorithm>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

// The lock file stays in the folder once made. Removing it at the end would
// open a race: a run waiting on the old file would get its lock just as a
// third run makes a new file under the same name and locks that one, and both
// would write at once. An empty file left beside the scenario's files is the
// price of a lock that always holds.

namespace tratta {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a waiting run looks again.
constexpr milliseconds poll_interval{50};

std::string seconds_text(milliseconds patience)
{
    const auto ms = patience.count();
    if (ms % 1000 != 0)
        return std::to_string(ms) + " millisecondi";
    return std::to_string(ms / 1000) + (ms == 1000 ? " secondo" : " secondi");
}

FileFailure busy(const std::filesystem::path& folder, milliseconds patience)
{
    return FileFailure::on_folder(folder, "un'altra copia del programma (o di autore) sta lavorando in questa cartella "
                                          "e non ha finito entro " +
                                              seconds_text(patience) +
                                              ": nulla è stato scritto; riprovare quando avrà finito");
}

FileFailure no_lock_file(const std::filesystem::path& folder, const std::string& why)
{
    return FileFailure::on_folder(folder, "impossibile usare il file di blocco " + std::string(FolderLock::file_name) +
                                              " (" + why + ")");
}

// Sleeps until the next look, or says that the time is up.
bool wait_a_little(Clock::time_point deadline)
{
    const auto now = Clock::now();
    if (now >= deadline)
        return false;
    const auto pause = std::min<Clock::duration>(poll_interval, deadline - now);
#ifdef _WIN32
    Sleep(static_cast<DWORD>(std::chrono::duration_cast<milliseconds>(pause).count() + 1));
#else
    std::this_thread::sleep_for(pause);
#endif
    return true;
}

} // namespace

#ifdef _WIN32

FolderLock::FolderLock(const std::filesystem::path& folder, milliseconds patience) : folder_(folder)
{
    const auto file = folder / file_name;
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw no_lock_file(folder, file_steps::last_system_error().message());
    handle_ = h;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(h);
        throw no_lock_file(folder, "non è un file normale");
    }
    const auto deadline = Clock::now() + patience;
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
            return;
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            const auto why = file_steps::last_system_error().message();
            CloseHandle(h);
            throw no_lock_file(folder, why);
        }
        if (!wait_a_little(deadline)) {
            CloseHandle(h);
            throw busy(folder, patience);
        }
    }
}

FolderLock::~FolderLock()
{
    OVERLAPPED whole{};
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &whole);
    CloseHandle(static_cast<HANDLE>(handle_));
}

#else

FolderLock::FolderLock(const std::filesystem::path& folder, milliseconds patience) : folder_(folder)
{
    const auto file = folder / file_name;
    // Never through a link, and never waiting on a fifo planted at the name.
    do
        fd_ = ::open(file.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        throw no_lock_file(folder, file_steps::last_system_error().message());
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw no_lock_file(folder, "non è un file normale");
    }
    const auto deadline = Clock::now() + patience;
    for (;;) {
        // flock: held by this open file, so two locks of one process exclude each other too.
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            const auto why = file_steps::last_system_error().message();
            ::close(fd_);
            throw no_lock_file(folder, why);
        }
        if (!wait_a_little(deadline)) {
            ::close(fd_);
            throw busy(folder, patience);
        }
    }
}

// Closing the file gives the lock up.
FolderLock::~FolderLock() { ::close(fd_); }

#endif

} // namespace tratta
