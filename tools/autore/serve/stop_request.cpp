#include "autore/serve/stop_request.hpp"

#include <atomic>
#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <csignal>
#include <ctime>
#endif

namespace autore::serve {

#ifdef _WIN32

namespace {
std::atomic<std::function<void()>*> console_stop{nullptr};

BOOL WINAPI on_console_event(DWORD event)
{
    // Ctrl-C, Ctrl-Break, the console closed, the user logging off: all stop the server.
    if (auto* stop = console_stop.load())
        (*stop)();
    // The console closed (or the session ending) ends the process as soon as
    // this returns: it waits, a few seconds at most, for the server to have
    // stopped, which ends the process from its own thread.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        for (int waited = 0; waited < 100 && console_stop.load() != nullptr; ++waited)
            Sleep(40);
    return TRUE;
}
} // namespace

struct StopRequest::Listener {
    std::function<void()> stop;
};

StopRequest::StopRequest(std::function<void()> stop) : listener_(std::make_unique<Listener>())
{
    listener_->stop = std::move(stop);
    console_stop = &listener_->stop;
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

StopRequest::~StopRequest()
{
    SetConsoleCtrlHandler(on_console_event, FALSE);
    console_stop = nullptr;
}

#else

struct StopRequest::Listener {
    sigset_t signals{};
    sigset_t saved{};
    std::atomic<bool> done{false};
    std::thread waiter;
};

StopRequest::StopRequest(std::function<void()> stop) : listener_(std::make_unique<Listener>())
{
    Listener& l = *listener_;
    sigemptyset(&l.signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&l.signals, s);
    // Held in this thread and so in every thread started after it: only the waiter takes them.
    pthread_sigmask(SIG_BLOCK, &l.signals, &l.saved);
    l.waiter = std::thread([&l, stop = std::move(stop)] {
        const timespec tick{0, 200'000'000};
        while (!l.done) {
            if (sigtimedwait(&l.signals, nullptr, &tick) > 0) {
                stop();
                return;
            }
        }
    });
}

StopRequest::~StopRequest()
{
    listener_->done = true;
    listener_->waiter.join();
    pthread_sigmask(SIG_SETMASK, &listener_->saved, nullptr);
}

#endif

} // namespace autore::serve
