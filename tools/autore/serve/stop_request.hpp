#pragma once
// The author ends `serve` with Ctrl-C, or by closing its console window on
// Windows: the server is asked to stop, and ends like any run that is done.
// It has written nothing, so nothing is removed.

#include <functional>
#include <memory>

namespace autore::serve {

class StopRequest {
public:
    // From construction on, Ctrl-C (SIGINT, SIGTERM, SIGHUP; on Windows the
    // console's events) calls `stop` once, from a thread of its own. Make it
    // before any other thread, so that all of them leave the signals to it.
    explicit StopRequest(std::function<void()> stop);
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

private:
    struct Listener;
    std::unique_ptr<Listener> listener_;
};

} // namespace autore::serve
