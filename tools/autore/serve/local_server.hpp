#pragma once
// The route page served to the author's own browser, on this machine only:
// the server listens on 127.0.0.1 and answers only requests addressed to it
// by that name or as localhost, so that no web site can reach it by giving
// one of its own names this machine's address. It serves three things and
// nothing from the disk: the page ("/"), its data ("/dati") and the stream of
// new data for the open pages ("/eventi", Server-Sent Events).

#include "autore/serve/live_route.hpp"

#include <memory>
#include <optional>
#include <string>

namespace autore::serve {

class LocalServer {
public:
    explicit LocalServer(const LiveRoute& route);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Takes the port on 127.0.0.1 (0: one the system chooses); the problem when it cannot.
    std::optional<std::string> bind(int port);
    int port() const;
    // "http://127.0.0.1:PORT/"
    std::string address() const;

    // Answers until stop(); from one thread.
    void run();
    // From any thread: the open streams end and run() returns.
    void stop();
    // From any thread: every open page gets the route's new state.
    void publish();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace autore::serve
