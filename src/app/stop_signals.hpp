#pragma once
// A run stopped from outside leaves none of its temporary files: on SIGINT,
// SIGTERM or SIGHUP the names registered here are removed before the process
// ends as the signal asks. And a file size limit (ulimit -f) is reported like
// a full disk instead of killing the process half-way.

#include <csignal>
#include <filesystem>

namespace tratta {

// Makes SIGXFSZ harmless: a write past the file size limit then fails with
// EFBIG, and the file is reported as one that cannot be written. Call at start.
void ignore_file_size_signal();

// Makes SIGPIPE harmless: a write to a standard output that was closed (a
// pipe into `head -1`) then fails with EPIPE, and the command ends with
// status 1 and one line saying so, not killed by the signal. Call at start.
void ignore_broken_pipe_signal();

// Installs the handlers that remove the registered names and then end the
// process by the same signal, with its default action. A signal the process
// was started to ignore, or that already has a handler, is left as it is.
// Call at start. (On Windows: SIGINT and SIGTERM of the C runtime.)
void install_cleanup_on_signals();

// A name the handlers remove, from construction until release(). The names
// live in a fixed table (32 names, 4095 characters each): a name beyond that
// is not registered, and is left for a later run to remove as stale.
class RemovalOnStop {
public:
    RemovalOnStop() = default;
    explicit RemovalOnStop(const std::filesystem::path& file) noexcept;
    ~RemovalOnStop() { release(); }
    RemovalOnStop(RemovalOnStop&& other) noexcept;
    RemovalOnStop& operator=(RemovalOnStop&& other) noexcept;
    RemovalOnStop(const RemovalOnStop&) = delete;
    RemovalOnStop& operator=(const RemovalOnStop&) = delete;

    bool registered() const { return slot_ >= 0; }
    void release() noexcept;

private:
    int slot_ = -1;
};

// While one lives, SIGINT, SIGTERM and SIGHUP wait (in this thread): a set of
// files is renamed whole, or put back whole, before the process may end.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
#ifndef _WIN32
    sigset_t saved_mask_; // the thread's signal mask before
#endif
};

} // namespace tratta
