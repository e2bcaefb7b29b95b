#pragma once
// The checks of the language server run on a thread of their own, one round
// at a time, while the server goes on reading the editor's messages and
// answering them: a document that takes long to check keeps no hover, no
// completion and no shutdown waiting. The server hears of a round's end
// through the same wait that waits for the editor's bytes.

#include <functional>

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

namespace autore::lsp {

class CheckThread {
public:
    CheckThread();
    ~CheckThread(); // waits for the round under way
    CheckThread(const CheckThread&) = delete;
    CheckThread& operator=(const CheckThread&) = delete;

    bool busy() const { return busy_; }
    // Starts the work; only when not busy.
    void start(std::function<void()> work);
    // Waits until the work is done (true) or the editor has sent bytes, or
    // closed its end (false).
    bool wait(int input_fd);
    // After wait gave true: the thread has ended and what it made may be read.
    void join();

private:
    std::function<void()> work_;
    bool busy_ = false;
#ifdef _WIN32
    static DWORD WINAPI run(LPVOID self);
    HANDLE thread_ = nullptr;
    HANDLE done_ = nullptr; // set when the work is done
#else
    std::thread thread_;
    int done_[2] = {-1, -1}; // a byte is written to the pipe when the work is done
#endif
};

} // namespace autore::lsp
