#include "autore/lsp/serve.hpp"

#include "autore/lsp/server.hpp"

#include <cerrno>
#include <csignal>
#include <ostream>

#include <poll.h>
#include <unistd.h>

namespace autore::lsp {

namespace {

bool write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

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

} // namespace

int serve(int in_fd, int out_fd, std::ostream& log)
{
    // An editor that goes away leaves a write that fails, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
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

    char buffer[1 << 16];
    while (!server.exited() && output_open) {
        if (!more_waiting(in_fd))
            server.publish_pending();
        const ssize_t n = ::read(in_fd, buffer, sizeof buffer);
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
    return server.exited() ? server.exit_status() : 1;
}

} // namespace autore::lsp
