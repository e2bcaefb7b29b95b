#include "autore/serve/local_server.hpp"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace autore::serve {

namespace {

// An open page is told something at least this often, so that a page closed
// without a word frees its stream.
constexpr auto keep_alive = std::chrono::seconds(10);

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

struct LocalServer::Parts {
    const LiveRoute& route;
    httplib::Server server;
    int port = 0;
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t published = 0; // guarded by mutex
    std::atomic<bool> stopping{false};
    std::atomic<bool> started{false};  // run() has begun to answer, or is about to
    std::atomic<bool> finished{false}; // run() has returned
    std::atomic<bool> closed{false};   // the listening socket is closed: once only

    explicit Parts(const LiveRoute& r) : route(r) {}

    bool own_host(const httplib::Request& req) const
    {
        const std::string host = lower(req.get_header_value("Host"));
        const std::string p = ":" + std::to_string(port);
        return host == "127.0.0.1" + p || host == "localhost" + p;
    }

    void stream(httplib::Response& res, std::string since)
    {
        // What this page holds: the state it was given last, and its plan.
        struct Held {
            std::string serial;
            std::string plan;
            bool greeted = false; // told anything yet
        };
        auto held = std::make_shared<Held>();
        held->serial = std::move(since);
        if (const auto now = route.state(); now->serial == held->serial)
            held->plan = now->plan;
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider("text/event-stream", [this, held](size_t, httplib::DataSink& sink) {
            std::unique_lock lock(mutex);
            const uint64_t seen = published;
            const auto state = route.state();
            if (state->serial != held->serial) {
                lock.unlock();
                // The plan is sent only to a page that does not hold it yet.
                const bool plan_held = !state->plan.empty() && state->plan == held->plan;
                held->serial = state->serial;
                held->plan = state->plan;
                held->greeted = true;
                // The data is one line of JSON: one event.
                static const std::string head = "data: ", tail = "\n\n";
                const std::string& data = plan_held ? state->data_without_plan : state->data;
                return sink.write(head.data(), head.size()) && sink.write(data.data(), data.size()) &&
                       sink.write(tail.data(), tail.size());
            }
            static const std::string still_here = ": in ascolto\n\n";
            if (!held->greeted) {
                // A page already up to date is told at once that it is heard.
                held->greeted = true;
                lock.unlock();
                return sink.write(still_here.data(), still_here.size());
            }
            changed.wait_for(lock, keep_alive, [&] { return stopping.load() || published != seen; });
            if (stopping)
                return false;
            if (published != seen)
                return true;
            lock.unlock();
            return sink.write(still_here.data(), still_here.size());
        });
    }
};

LocalServer::LocalServer(const LiveRoute& route) : parts_(std::make_unique<Parts>(route))
{
    httplib::Server& s = parts_->server;
    Parts& p = *parts_;
    // Each open page holds one stream: room for several pages and their requests.
    s.new_task_queue = [] { return new httplib::ThreadPool(24); };
    // The port is this server's alone while it runs: no other program may
    // take it over and answer the author's page in its place.
    s.set_socket_options([](socket_t sock) {
        int yes = 1;
#ifdef _WIN32
        setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof yes);
#else
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
    });
    s.set_pre_routing_handler([&p](const httplib::Request& req, httplib::Response& res) {
        if (p.own_host(req))
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = 403;
        res.set_content("autore serve risponde solo a 127.0.0.1:" + std::to_string(p.port) + " e localhost:" +
                            std::to_string(p.port) + "\n",
                        "text/plain; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
    });
    s.Get("/", [&p](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content(p.route.page(), "text/html; charset=utf-8");
    });
    s.Get("/dati", [&p](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content(p.route.state()->data, "application/json");
    });
    s.Get("/eventi", [&p](const httplib::Request& req, httplib::Response& res) {
        p.stream(res, req.get_param_value("dopo"));
    });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404)
            res.set_content("qui ci sono solo la pagina (/), i dati (/dati) e gli aggiornamenti (/eventi)\n",
                            "text/plain; charset=utf-8");
    });
    s.set_default_headers({{"X-Content-Type-Options", "nosniff"}, {"Referrer-Policy", "no-referrer"}});
}

LocalServer::~LocalServer() { stop(); }

std::optional<std::string> LocalServer::bind(int port)
{
    const int got = port == 0 ? parts_->server.bind_to_any_port("127.0.0.1")
                              : (parts_->server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (got <= 0)
        return port == 0 ? std::string("nessuna porta libera su 127.0.0.1")
                         : "la porta " + std::to_string(port) + " di 127.0.0.1 non è libera";
    parts_->port = got;
    return std::nullopt;
}

int LocalServer::port() const { return parts_->port; }

std::string LocalServer::address() const { return "http://127.0.0.1:" + std::to_string(parts_->port) + "/"; }

void LocalServer::run()
{
    {
        const std::lock_guard lock(parts_->mutex);
        if (parts_->stopping)
            return;
        parts_->started = true;
    }
    parts_->server.listen_after_bind();
    parts_->finished = true;
}

void LocalServer::stop()
{
    {
        const std::lock_guard lock(parts_->mutex);
        parts_->stopping = true;
    }
    parts_->changed.notify_all();
    // A stop that comes while run() is only starting waits for it to listen,
    // so that it is never missed.
    while (parts_->started && !parts_->finished) {
        if (parts_->server.is_running()) {
            if (!parts_->closed.exchange(true))
                parts_->server.stop();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void LocalServer::publish()
{
    {
        const std::lock_guard lock(parts_->mutex);
        ++parts_->published;
    }
    parts_->changed.notify_all();
}

} // namespace autore::serve
