// Arbitrary bytes from an editor, in memory, through the whole language
// server: the framing, the JSON, the dispatch, the documents and their checks.
// The bytes arrive in pieces of a size the input gives. A crash, a sanitizer
// report, or a message out that is not a well-formed JSON-RPC message is a
// failure; so is the server reading a file: it is given no disk.
#include "fuzz_entry.hpp"

#include "autore/lsp/server.hpp"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using nlohmann::json;

[[noreturn]] void fail(const char* what, const std::string& body)
{
    std::fprintf(stderr, "lsp message: %s: %.300s\n", what, body.c_str());
    std::abort();
}

// A response (an id and a result or an error) or a notification (a method).
void check(const std::string& body)
{
    const json m = json::parse(body, nullptr, false);
    if (!m.is_object() || m.value("jsonrpc", "") != "2.0")
        fail("not a JSON-RPC object", body);
    if (m.contains("method")) {
        if (!m["method"].is_string() || m.contains("id"))
            fail("a notification with a bad method or an id", body);
        return;
    }
    if (!m.contains("id") || m.contains("result") == m.contains("error"))
        fail("a response without its id, or with both or neither of result and error", body);
    if (m.contains("error") && (!m["error"].is_object() || !m["error"].value("code", json()).is_number_integer()))
        fail("an error without its code", body);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    autore::lsp::ServerOptions options;
    options.max_document = 1 << 16;
    autore::lsp::Server server(check, autore::lsp::no_disk(), options);
    autore::lsp::Session session(server, 1 << 20);
    // The editor's bytes come in reads of 1 to 64 bytes, or all at once.
    const std::size_t piece = size % 65 == 0 ? size : size % 65;
    for (std::size_t at = 0; at < size && !server.exited(); at += piece) {
        session.feed(input.substr(at, piece));
        server.publish_pending();
    }
    if (!server.exited())
        session.end_of_input();
    server.publish_pending();
    return 0;
}
