#include "app/stop_signals.hpp"

#include <atomic>
#include <csignal>
#include <cstddef>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace tratta {

namespace {

// The table the handlers read: each slot is free, being filled, or holds a
// name ready to remove, ended by a zero. No allocation, no lock: a handler
// only reads slots marked ready and removes their names.
constexpr int slot_count = 32;
constexpr std::size_t longest_name = 4096;
enum SlotState : int { slot_free = 0, slot_filling = 1, slot_ready = 2 };
using NativeChar = std::filesystem::path::value_type;

struct Slot {
    std::atomic<int> state{slot_free};
    NativeChar name[longest_name];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handlers read the table without a lock");

Slot table[slot_count];

void remove_registered_names()
{
    for (auto& slot : table) {
        if (slot.state.load(std::memory_order_acquire) != slot_ready)
            continue;
#ifdef _WIN32
        DeleteFileW(slot.name);
#else
        ::unlink(slot.name);
#endif
    }
}

#ifdef _WIN32

void stop_with_cleanup(int signal_number)
{
    remove_registered_names();
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

#else

constexpr int stop_signals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t stop_signal_set()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int s : stop_signals)
        sigaddset(&set, s);
    return set;
}

// The disposition went back to the default on entry (SA_RESETHAND), so the
// signal raised again ends the process as it would have without us.
extern "C" void stop_with_cleanup(int signal_number)
{
    const int saved_errno = errno;
    remove_registered_names();
    ::raise(signal_number);
    errno = saved_errno;
}

#endif

} // namespace

#ifndef _WIN32
namespace {

// The signal then only makes the system call fail, and the run says what failed.
void ignore_signal(int signal_number)
{
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(signal_number, &ignore, nullptr);
}

} // namespace
#endif

void ignore_file_size_signal()
{
#ifndef _WIN32
    ignore_signal(SIGXFSZ);
#endif
}

void ignore_broken_pipe_signal()
{
#ifndef _WIN32
    ignore_signal(SIGPIPE);
#endif
}


void install_cleanup_on_signals()
{
#ifdef _WIN32
    for (const int s : {SIGINT, SIGTERM}) {
        const auto previous = std::signal(s, stop_with_cleanup);
        if (previous != SIG_DFL && previous != SIG_ERR)
            std::signal(s, previous);
    }
#else
    for (const int s : stop_signals) {
        struct sigaction previous {};
        if (sigaction(s, nullptr, &previous) != 0)
            continue;
        if ((previous.sa_flags & SA_SIGINFO) != 0 || previous.sa_handler != SIG_DFL)
            continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = stop_with_cleanup;
        cleanup.sa_mask = stop_signal_set();
        cleanup.sa_flags = static_cast<int>(SA_RESETHAND);
        sigaction(s, &cleanup, nullptr);
    }
#endif
}

RemovalOnStop::RemovalOnStop(const std::filesystem::path& file) noexcept
{
    const auto& name = file.native();
    if (name.size() >= longest_name)
        return;
    for (int i = 0; i < slot_count; ++i) {
        int expected = slot_free;
        if (!table[i].state.compare_exchange_strong(expected, slot_filling))
            continue;
        name.copy(table[i].name, name.size());
        table[i].name[name.size()] = 0;
        table[i].state.store(slot_ready, std::memory_order_release);
        slot_ = i;
        return;
    }
}

RemovalOnStop::RemovalOnStop(RemovalOnStop&& other) noexcept : slot_(std::exchange(other.slot_, -1)) {}

RemovalOnStop& RemovalOnStop::operator=(RemovalOnStop&& other) noexcept
{
    if (this != &other) {
        release();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

void RemovalOnStop::release() noexcept
{
    if (slot_ < 0)
        return;
    table[slot_].state.store(slot_free, std::memory_order_release);
    slot_ = -1;
}

#ifdef _WIN32

// Windows delivers SIGINT on a thread of its own; there is nothing to hold.
StopSignalsHeld::StopSignalsHeld() = default;
StopSignalsHeld::~StopSignalsHeld() = default;

#else

StopSignalsHeld::StopSignalsHeld()
{
    const sigset_t stop = stop_signal_set();
    pthread_sigmask(SIG_BLOCK, &stop, &saved_mask_);
}

StopSignalsHeld::~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_mask_, nullptr); }

#endif

} // namespace tratta
