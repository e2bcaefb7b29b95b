#include "autore/lsp/check_thread.hpp"

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

namespace autore::lsp {

#ifdef _WIN32

CheckThread::CheckThread() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (done_ == nullptr)
        throw std::runtime_error("impossibile creare l'evento dei controlli");
}

CheckThread::~CheckThread()
{
    if (busy_)
        join();
    CloseHandle(done_);
}

DWORD WINAPI CheckThread::run(LPVOID self)
{
    auto* t = static_cast<CheckThread*>(self);
    t->work_();
    SetEvent(t->done_);
    return 0;
}

void CheckThread::start(std::function<void()> work)
{
    work_ = std::move(work);
    ResetEvent(done_);
    thread_ = CreateThread(nullptr, 0, &CheckThread::run, this, 0, nullptr);
    if (thread_ == nullptr) {
        // No thread to be had: the round runs here and now.
        work_();
        SetEvent(done_);
    }
    busy_ = true;
}

bool CheckThread::wait(int input_fd)
{
    const auto input = reinterpret_cast<HANDLE>(_get_osfhandle(input_fd));
    for (;;) {
        DWORD available = 0;
        // Editors speak over a pipe; on anything else the round is waited for.
        const bool pipe = input != INVALID_HANDLE_VALUE &&
                          PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr) != 0;
        if (pipe && available > 0)
            return false;
        if (WaitForSingleObject(done_, pipe ? 10 : INFINITE) == WAIT_OBJECT_0)
            return true;
    }
}

void CheckThread::join()
{
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    busy_ = false;
}

#else

CheckThread::CheckThread()
{
    if (::pipe(done_) != 0)
        throw std::runtime_error("impossibile creare il canale dei controlli");
    for (const int fd : done_)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

CheckThread::~CheckThread()
{
    if (busy_)
        join();
    ::close(done_[0]);
    ::close(done_[1]);
}

void CheckThread::start(std::function<void()> work)
{
    work_ = std::move(work);
    const auto run = [this] {
        work_();
        const char done = 1;
        while (::write(done_[1], &done, 1) < 0 && errno == EINTR) {
        }
    };
    try {
        thread_ = std::thread(run);
    } catch (const std::system_error&) {
        // No thread to be had: the round runs here and now.
        run();
    }
    busy_ = true;
}

bool CheckThread::wait(int input_fd)
{
    pollfd p[2] = {{done_[0], POLLIN, 0}, {input_fd, POLLIN, 0}};
    for (;;) {
        const int n = ::poll(p, 2, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || p[0].revents != 0)
            return true;
        if (p[1].revents != 0)
            return false;
    }
}

void CheckThread::join()
{
    if (thread_.joinable())
        thread_.join();
    char done = 0;
    while (::read(done_[0], &done, 1) < 0 && errno == EINTR) {
    }
    busy_ = false;
}

#endif

} // namespace autore::lsp
