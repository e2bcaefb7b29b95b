#pragma once
// The language server as a function of messages: JSON-RPC messages in, the
// answers and the diagnostics out through a callback. No byte of its own
// reaches the output: every message it sends is a response or a notification
// of the protocol. Bad input gets the protocol's error and the server goes on.

#include "autore/lsp/disk.hpp"
#include "autore/lsp/framing.hpp"
#include "autore/lsp/workspace.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autore::lsp {

// One message as it arrived: its JSON, or why it is none.
struct Incoming {
    std::optional<nlohmann::json> message;
    std::string problem; // the message is no JSON: what the parser said
};
Incoming parse_incoming(std::string_view body);

struct ServerOptions {
    std::size_t max_document = default_max_document;
    std::ostream* log = nullptr; // a line for each thing passed over; never the protocol's output
};

class Server {
public:
    // `send` takes the text of each message to the editor.
    using Send = std::function<void(const std::string&)>;
    Server(Send send, std::unique_ptr<Disk> disk, ServerOptions options = {});

    // Messages that arrived together, handled in order; a request that a
    // cancellation among them names is answered as cancelled, unread.
    void receive(std::vector<Incoming> messages);
    void receive(std::string_view body);
    // Bytes that made no message.
    void frame_problem(const Frame& frame);

    // The diagnostics of every document changed since they were last published.
    void publish_pending();
    bool has_pending() const { return workspace_.has_pending(); }

    // The same in two steps, for checks that run apart while the server
    // answers: a round of the documents changed (none when there is nothing
    // to check), then its diagnostics published for the documents that have
    // not changed again meanwhile (those are checked in the next round).
    std::unique_ptr<CheckRound> begin_checks();
    void finish_checks(CheckRound& round);
    // Checks run only as rounds: a request about a document changed since
    // its last check is answered from its text, without waiting for one.
    void check_in_rounds() { in_rounds_ = true; }

    bool exited() const { return exited_; }
    // 0 after "shutdown" then "exit", 1 otherwise.
    int exit_status() const { return shut_down_ ? 0 : 1; }

private:
    enum class Stage : uint8_t { waiting, running, shut_down };

    void handle(const nlohmann::json& message, const std::vector<nlohmann::json>& cancelled);
    void request(const std::string& method, const nlohmann::json& params, const nlohmann::json& id);
    void notification(const std::string& method, const nlohmann::json& params);
    nlohmann::json initialize(const nlohmann::json& params);
    void publish(const std::vector<Publication>& publications);
    // The open document a request is about, brought up to date; none when it is not open.
    Document* document_for(const nlohmann::json& params);

    void send(const nlohmann::json& message);
    void respond(const nlohmann::json& id, nlohmann::json result);
    void fail(const nlohmann::json& id, int code, const std::string& message);
    void note(const std::string& line);

    Send send_;
    ServerOptions options_;
    Workspace workspace_;
    Stage stage_ = Stage::waiting;
    bool shut_down_ = false;
    bool exited_ = false;
    bool snippets_ = false;
    bool hierarchical_symbols_ = false;
    bool in_rounds_ = false;
};

// Framed bytes to the server: whole messages go to it as they arrive, a body
// that holds the next header gives that message back to the reader.
class Session {
public:
    explicit Session(Server& server, std::size_t max_body = default_max_body) : server_(server), reader_(max_body) {}

    void feed(std::string_view bytes);
    void end_of_input();

private:
    void take(Frame frame, std::vector<Incoming>& batch);

    Server& server_;
    MessageReader reader_;
};

} // namespace autore::lsp
