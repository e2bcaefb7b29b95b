#include "autore/lsp/server.hpp"

#include "autore/lsp/completion.hpp"
#include "autore/lsp/hover.hpp"
#include "autore/lsp/symbols.hpp"
#include "autore/version.hpp"

#include <algorithm>
#include <exception>
#include <ostream>

namespace autore::lsp {

using nlohmann::json;

namespace {

// The protocol's error codes.
constexpr int parse_error = -32700;
constexpr int invalid_request = -32600;
constexpr int method_not_found = -32601;
constexpr int invalid_params = -32602;
constexpr int internal_error = -32603;
constexpr int server_not_initialized = -32002;
constexpr int request_cancelled = -32800;

constexpr int sync_full = 1;

// A request that cannot be answered as asked: the error it gets.
struct RpcError {
    int code;
    std::string message;
};

const json& member(const json& object, const char* name)
{
    if (!object.is_object() || !object.contains(name))
        throw RpcError{invalid_params, std::string("manca il campo \"") + name + "\""};
    return object.at(name);
}

std::string string_member(const json& object, const char* name)
{
    const json& v = member(object, name);
    if (!v.is_string())
        throw RpcError{invalid_params, std::string("il campo \"") + name + "\" non è un testo"};
    return v.get<std::string>();
}

int64_t integer_member(const json& object, const char* name)
{
    const json& v = member(object, name);
    if (!v.is_number_integer())
        throw RpcError{invalid_params, std::string("il campo \"") + name + "\" non è un numero intero"};
    return v.get<int64_t>();
}

std::optional<int64_t> version_of(const json& text_document)
{
    if (text_document.is_object() && text_document.contains("version") && text_document["version"].is_number_integer())
        return text_document["version"].get<int64_t>();
    return std::nullopt;
}

std::string uri_of(const json& params) { return string_member(member(params, "textDocument"), "uri"); }

TextChange::Point point_of(const json& position)
{
    return {integer_member(position, "line"), integer_member(position, "character")};
}

std::vector<TextChange> changes_of(const json& params)
{
    const json& list = member(params, "contentChanges");
    if (!list.is_array())
        throw RpcError{invalid_params, "\"contentChanges\" non è un elenco"};
    std::vector<TextChange> changes;
    for (const json& c : list) {
        TextChange change;
        change.text = string_member(c, "text");
        if (c.contains("range") && !c["range"].is_null())
            change.range = std::pair{point_of(member(c["range"], "start")), point_of(member(c["range"], "end"))};
        changes.push_back(std::move(change));
    }
    return changes;
}

bool flag_at(const json& root, std::initializer_list<const char*> path)
{
    const json* at = &root;
    for (const char* step : path) {
        if (!at->is_object() || !at->contains(step))
            return false;
        at = &(*at)[step];
    }
    return at->is_boolean() && at->get<bool>();
}

bool offers(const json& list, std::string_view encoding)
{
    return list.is_array() && std::any_of(list.begin(), list.end(), [&](const json& e) { return e == encoding; });
}

bool valid_id(const json& id) { return id.is_number_integer() || id.is_string() || id.is_null(); }

} // namespace

Incoming parse_incoming(std::string_view body)
{
    Incoming in;
    try {
        in.message = json::parse(body);
    } catch (const json::exception& e) {
        // No JSON, or a number beyond any double ("1e99999").
        in.problem = e.what();
    }
    return in;
}

Server::Server(Send send, std::unique_ptr<Disk> disk, ServerOptions options)
    : send_(std::move(send)), options_(options), workspace_(std::move(disk), options.max_document)
{
}

void Server::note(const std::string& line)
{
    if (options_.log != nullptr)
        *options_.log << "autore lsp: " << line << std::endl;
}

void Server::send(const json& message)
{
    json m = message;
    m["jsonrpc"] = "2.0";
    send_(m.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::respond(const json& id, json result) { send({{"id", id}, {"result", std::move(result)}}); }

void Server::fail(const json& id, int code, const std::string& message)
{
    send({{"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Server::frame_problem(const Frame& frame)
{
    if (frame.kind == Frame::Kind::too_large) {
        note("messaggio di " + std::to_string(frame.declared) + " byte scartato senza leggerlo");
        fail(nullptr, invalid_request,
             "messaggio di " + std::to_string(frame.declared) + " byte: troppo grande, scartato senza leggerlo");
    } else if (frame.kind == Frame::Kind::bad_header) {
        note("byte senza intestazione Content-Length scartati");
    }
}

void Server::receive(std::string_view body)
{
    std::vector<Incoming> one;
    one.push_back(parse_incoming(body));
    receive(std::move(one));
}

void Server::receive(std::vector<Incoming> messages)
{
    // The requests cancelled by a message in the same run.
    std::vector<json> cancelled;
    for (const Incoming& in : messages)
        if (in.message && in.message->is_object() && in.message->value("method", json()) == "$/cancelRequest") {
            const json params = in.message->value("params", json());
            if (params.is_object() && params.contains("id") && valid_id(params.at("id")))
                cancelled.push_back(params.at("id"));
        }
    for (const Incoming& in : messages) {
        if (exited_)
            return;
        if (!in.message) {
            note("JSON non valido: " + in.problem);
            fail(nullptr, parse_error, "JSON non valido: " + in.problem);
            continue;
        }
        handle(*in.message, cancelled);
    }
}

void Server::handle(const json& m, const std::vector<json>& cancelled)
{
    if (!m.is_object() || (m.contains("id") && !valid_id(m["id"]))) {
        fail(nullptr, invalid_request, "un messaggio è un oggetto JSON con un id numero o testo");
        return;
    }
    const bool is_request = m.contains("id");
    const json id = is_request ? m["id"] : json();
    if (!m.contains("method")) {
        // A response to the server: it asks the editor nothing, so there is nothing to match.
        if (!m.contains("result") && !m.contains("error"))
            fail(id, invalid_request, "manca il campo \"method\"");
        return;
    }
    if (!m["method"].is_string()) {
        if (is_request)
            fail(id, invalid_request, "il campo \"method\" non è un testo");
        return;
    }
    const std::string method = m["method"].get<std::string>();
    static const json no_params = json::object();
    const json& params = m.contains("params") ? m["params"] : no_params;
    try {
        if (!is_request) {
            notification(method, params);
        } else if (std::find(cancelled.begin(), cancelled.end(), id) != cancelled.end()) {
            fail(id, request_cancelled, "richiesta annullata");
        } else {
            request(method, params, id);
        }
    } catch (const RpcError& e) {
        if (is_request)
            fail(id, e.code, e.message);
        else
            note(method + ": " + e.message);
    } catch (const json::exception& e) {
        if (is_request)
            fail(id, invalid_params, e.what());
        else
            note(method + ": " + e.what());
    } catch (const std::exception& e) {
        note(method + ": " + e.what());
        if (is_request)
            fail(id, internal_error, std::string("errore interno: ") + e.what());
    }
}

void Server::request(const std::string& method, const json& params, const json& id)
{
    if (stage_ == Stage::waiting && method != "initialize")
        throw RpcError{server_not_initialized, "il server non è ancora inizializzato"};
    if (stage_ == Stage::shut_down)
        throw RpcError{invalid_request, "il server è stato chiuso: resta solo \"exit\""};
    if (method == "initialize") {
        if (stage_ != Stage::waiting)
            throw RpcError{invalid_request, "il server è già inizializzato"};
        respond(id, initialize(params));
        stage_ = Stage::running;
    } else if (method == "shutdown") {
        stage_ = Stage::shut_down;
        shut_down_ = true;
        respond(id, nullptr);
    } else if (method == "textDocument/hover") {
        Document* doc = document_for(params);
        const json& at = member(params, "position");
        const auto h = doc ? hover(*doc, integer_member(at, "line"), integer_member(at, "character"), workspace_.encoding())
                           : std::nullopt;
        respond(id, h ? *h : json());
    } else if (method == "textDocument/completion") {
        Document* doc = document_for(params);
        const json& at = member(params, "position");
        respond(id, doc ? completion(*doc, integer_member(at, "line"), integer_member(at, "character"),
                                     workspace_.encoding(), snippets_)
                        : json());
    } else if (method == "textDocument/documentSymbol") {
        Document* doc = document_for(params);
        respond(id, doc ? document_symbols(*doc, workspace_.encoding(), hierarchical_symbols_) : json());
    } else {
        throw RpcError{method_not_found, "metodo sconosciuto: " + method};
    }
}

void Server::notification(const std::string& method, const json& params)
{
    if (method == "exit") {
        exited_ = true;
        return;
    }
    // Before "initialize" and after "shutdown" only "exit" counts.
    if (stage_ != Stage::running)
        return;
    if (method == "textDocument/didOpen") {
        const json& doc = member(params, "textDocument");
        workspace_.open(string_member(doc, "uri"), string_member(doc, "text"), version_of(doc).value_or(0));
    } else if (method == "textDocument/didChange") {
        const std::string uri = uri_of(params);
        if (!workspace_.change(uri, changes_of(params), version_of(params["textDocument"])))
            note("modifica di un documento non aperto: " + uri);
    } else if (method == "textDocument/didClose") {
        const std::string uri = uri_of(params);
        if (workspace_.close(uri))
            publish({{uri, std::nullopt, json::array()}});
    } else if (method == "textDocument/didSave") {
        std::optional<std::string> text;
        if (params.contains("text") && params["text"].is_string())
            text = params["text"].get<std::string>();
        workspace_.saved(uri_of(params), text);
    }
    // "initialized", "$/cancelRequest" (handled with its run), "$/setTrace" and
    // any other notification need nothing more.
}

json Server::initialize(const json& params)
{
    const json caps = params.is_object() && params.contains("capabilities") ? params["capabilities"] : json::object();
    // UTF-8 positions when the editor offers them (the older "offsetEncoding"
    // of some editors counts too); UTF-16 otherwise, as the protocol says.
    const json encodings = caps.is_object() && caps.contains("general") && caps["general"].is_object()
                               ? caps["general"].value("positionEncodings", json())
                               : json();
    const json legacy = caps.is_object() ? caps.value("offsetEncoding", json()) : json();
    const bool utf8 = offers(encodings, "utf-8") || (!encodings.is_array() && offers(legacy, "utf-8"));
    workspace_.set_encoding(utf8 ? Encoding::utf8 : Encoding::utf16);
    snippets_ = flag_at(caps, {"textDocument", "completion", "completionItem", "snippetSupport"});
    hierarchical_symbols_ = flag_at(caps, {"textDocument", "documentSymbol", "hierarchicalDocumentSymbolSupport"});

    json capabilities = {
        {"positionEncoding", utf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", sync_full}, {"save", {{"includeText", false}}}}},
        {"hoverProvider", true},
        {"completionProvider", {{"triggerCharacters", json::array()}, {"resolveProvider", false}}},
        {"documentSymbolProvider", true},
    };
    json result = {{"capabilities", std::move(capabilities)},
                   {"serverInfo", {{"name", "autore"}, {"version", std::string(tool_version)}}}};
    if (legacy.is_array())
        result["offsetEncoding"] = utf8 ? "utf-8" : "utf-16";
    return result;
}

Document* Server::document_for(const json& params)
{
    const std::string uri = uri_of(params);
    if (!in_rounds_)
        publish(workspace_.bring_up_to_date(uri));
    Document* doc = workspace_.find(uri);
    return doc != nullptr && !workspace_.too_large(*doc) ? doc : nullptr;
}

void Server::publish(const std::vector<Publication>& publications)
{
    for (const Publication& p : publications) {
        json params = {{"uri", p.uri}, {"diagnostics", p.diagnostics}};
        if (p.version)
            params["version"] = *p.version;
        send({{"method", "textDocument/publishDiagnostics"}, {"params", std::move(params)}});
    }
}

void Server::publish_pending()
{
    if (stage_ != Stage::running || !workspace_.has_pending())
        return;
    try {
        publish(workspace_.check_pending());
    } catch (const std::exception& e) {
        note(std::string("controllo non riuscito: ") + e.what());
    }
}

std::unique_ptr<CheckRound> Server::begin_checks()
{
    if (stage_ != Stage::running)
        return nullptr;
    return workspace_.begin_round();
}

void Server::finish_checks(CheckRound& round)
{
    // After "shutdown" nothing more is published.
    std::vector<Publication> found = workspace_.finish_round(round);
    if (stage_ == Stage::running)
        publish(found);
}

void Session::take(Frame frame, std::vector<Incoming>& batch)
{
    if (frame.kind != Frame::Kind::message) {
        server_.frame_problem(frame);
        return;
    }
    Incoming in = parse_incoming(frame.body);
    // A length given too long swallows the next message: what follows its
    // header is read again, and the body before it is the message.
    const std::size_t next = frame.body.find("Content-Length:");
    if (!in.message && next != std::string::npos && next > 0) {
        reader_.unread(std::string_view(frame.body).substr(next));
        in = parse_incoming(std::string_view(frame.body).substr(0, next));
    }
    batch.push_back(std::move(in));
}

void Session::feed(std::string_view bytes)
{
    reader_.feed(bytes);
    std::vector<Incoming> batch;
    while (auto frame = reader_.next())
        take(std::move(*frame), batch);
    if (!batch.empty())
        server_.receive(std::move(batch));
}

void Session::end_of_input()
{
    // A body cut short may still hold whole messages after it.
    std::vector<Incoming> batch;
    for (;;) {
        while (auto frame = reader_.next())
            take(std::move(*frame), batch);
        auto rest = reader_.finish();
        if (!rest)
            break;
        take(std::move(*rest), batch);
    }
    if (!batch.empty())
        server_.receive(std::move(batch));
}

} // namespace autore::lsp
