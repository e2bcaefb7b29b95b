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
#include <thread>
#include <unistd.h>
#endif

// The lock needs no file of its own: on Linux the folder itself is locked,
// and on Windows a lock of the system named after the folder's full path.
// Either ends with the process, however it ends, and leaves the folder
// holding only the scenario's files.

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

FileFailure no_lock(const std::filesystem::path& folder, const std::string& why)
{
    return FileFailure::on_folder(folder, "impossibile riservare la cartella per questa esecuzione (" + why + ")");
}

} // namespace

#ifdef _WIN32

namespace {

// The system lock's name: the folder's full path, in small letters as
// Windows compares names, folded into a number.
std::wstring lock_name(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::wstring path = std::filesystem::weakly_canonical(folder, ec).wstring();
    if (ec)
        path = std::filesystem::absolute(folder, ec).wstring();
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (const wchar_t c : path) {
        hash ^= static_cast<uint64_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Local\\tratta-cartella-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, milliseconds patience) : folder_(folder)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw no_lock(folder, "la cartella non esiste");
    const HANDLE h = CreateMutexW(nullptr, FALSE, lock_name(folder).c_str());
    if (h == nullptr)
        throw no_lock(folder, file_steps::last_system_error().message());
    // A run that ended without giving the lock up (it was stopped) leaves it
    // abandoned: the waiting run takes it over.
    const DWORD waited = WaitForSingleObject(h, static_cast<DWORD>(patience.count()));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        handle_ = h;
        return;
    }
    CloseHandle(h);
    if (waited == WAIT_TIMEOUT)
        throw busy(folder, patience);
    throw no_lock(folder, file_steps::last_system_error().message());
}

FolderLock::~FolderLock()
{
    ReleaseMutex(static_cast<HANDLE>(handle_));
    CloseHandle(static_cast<HANDLE>(handle_));
}

#else

namespace {

// Sleeps until the next look, or says that the time is up.
bool wait_a_little(Clock::time_point deadline)
{
    const auto now = Clock::now();
    if (now >= deadline)
        return false;
    const auto pause = std::min<Clock::duration>(poll_interval, deadline - now);
    std::this_thread::sleep_for(pause);
    return true;
}

} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, milliseconds patience) : folder_(folder)
{
    // The folder itself, never through a link planted in its place.
    do
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        throw no_lock(folder, file_steps::last_system_error().message());
    const auto deadline = Clock::now() + patience;
    for (;;) {
        // flock: held by this open folder, so two locks of one process exclude each other too.
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            const auto why = file_steps::last_system_error().message();
            ::close(fd_);
            throw no_lock(folder, why);
        }
        if (!wait_a_little(deadline)) {
            ::close(fd_);
            throw busy(folder, patience);
        }
    }
}

// Closing the folder gives the lock up.
FolderLock::~FolderLock() { ::close(fd_); }

#endif

} // namespace tratta
