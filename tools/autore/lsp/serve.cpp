#include "autore/lsp/serve.hpp"

#include "autore/lsp/check_thread.hpp"
#include "autore/lsp/server.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace autore::lsp {

namespace {

#ifdef _WIN32

// The editor's bytes pass as they are: no CR LF turned into LF, no ^Z as the end.
void binary_mode(int fd) { _setmode(fd, _O_BINARY); }

long read_some(int fd, char* buffer, std::size_t size)
{
    return _read(fd, buffer, static_cast<unsigned>(size));
}

long write_some(int fd, const char* bytes, std::size_t size)
{
    return _write(fd, bytes, static_cast<unsigned>(size));
}

// Whether the editor has sent more than has been read (editors speak over a
// pipe; on anything else the answer is no, and the check runs at once).
bool more_waiting(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD available = 0;
    return handle != INVALID_HANDLE_VALUE && PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) != 0 &&
           available > 0;
}

#else

void binary_mode(int) {}

long read_some(int fd, char* buffer, std::size_t size) { return ::read(fd, buffer, size); }

long write_some(int fd, const char* bytes, std::size_t size) { return ::write(fd, bytes, size); }

// Whether the editor has sent more than has been read: then the documents
// are checked only once it has said all it had to say.
bool more_waiting(int fd)
{
    pollfd p{fd, POLLIN, 0};
    int n = 0;
    do {
        n = ::poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

#endif

bool write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = write_some(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int serve(int in_fd, int out_fd, std::ostream& log)
{
#ifndef _WIN32
    // An editor that goes away leaves a write that fails, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    binary_mode(in_fd);
    binary_mode(out_fd);
    bool output_open = true;
    ServerOptions options;
    options.log = &log;
    Server server(
        [&](const std::string& body) {
            if (output_open)
                output_open = write_all(out_fd, framed(body));
        },
        real_disk(), options);
    Session session(server);
    server.check_in_rounds();
    CheckThread checks;
    std::unique_ptr<CheckRound> round;

    char buffer[1 << 16];
    while (!server.exited() && output_open) {
        // The documents are checked once the editor has said all it had to
        // say, on the thread of the checks; meanwhile its messages are read
        // and answered, and a document changed again gets the newest check only.
        if (!round && !more_waiting(in_fd)) {
            round = server.begin_checks();
            if (round)
                checks.start([r = round.get()] { r->run(); });
        }
        if (round && checks.wait(in_fd)) {
            checks.join();
            server.finish_checks(*round);
            round.reset();
            continue;
        }
        const long n = read_some(in_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            session.end_of_input();
            break;
        }
        session.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    if (!output_open)
        log << "autore lsp: l'editor non legge più le risposte" << std::endl;
    const int status = server.exited() ? server.exit_status() : 1;
    if (round) {
        // The editor has gone or asked the server to end while a long check
        // was under way: the server ends now, not when the check would. It
        // writes no file, and all it said has been written out.
        log << std::flush;
        std::_Exit(status);
    }
    return status;
}

} // namespace autore::lsp
