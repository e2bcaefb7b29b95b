// The language server while an author edits the embedded line file: from
// the editor's change to the diagnostics published for it, through the
// server's message handler in memory, with the embedded train file beside
// the line file. Each change sets a background code and back, so that every
// round checks anew.
#include "autore/lsp/server.hpp"
#include "model/code_page.hpp"
#include "scenario/data_set.hpp"
#include "scenario/text_writer.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

using nlohmann::json;

const std::string folder = "/bench";
const std::string line_uri = "file:///bench/Tratta_Esempio_linea.txt";

std::string change_message(const std::string& utf8_text, int version)
{
    return json{{"jsonrpc", "2.0"},
                {"method", "textDocument/didChange"},
                {"params",
                 {{"textDocument", {{"uri", line_uri}, {"version", version}}},
                  {"contentChanges", {{{"text", utf8_text}}}}}}}
        .dump();
}

void lsp_change(benchmark::State& state)
{
    const std::string line = tratta::cp1252_to_utf8(tratta::encode_data_set(tratta::linea_data()));
    const std::string train = tratta::encode_data_set(tratta::treno_data());
    std::string edited = line;
    const std::string from = "sfondo due,    0";
    const auto at = edited.find(from);
    if (at == std::string::npos) {
        state.SkipWithError("no background line in the embedded line file");
        return;
    }
    edited.replace(at + from.size() - 1, 1, "1");

    int published = 0;
    bool errors = false;
    autore::lsp::Server server(
        [&](const std::string& body) {
            const json m = json::parse(body);
            if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == line_uri) {
                ++published;
                for (const json& d : m["params"]["diagnostics"])
                    errors = errors || d["severity"] == 1;
            }
        },
        autore::lsp::memory_disk({{folder + "/Tratta_Esempio_TR 000 Esempio-.txt", train}}));
    server.receive(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    server.receive(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    server.receive(json{{"jsonrpc", "2.0"},
                        {"method", "textDocument/didOpen"},
                        {"params", {{"textDocument", {{"uri", line_uri}, {"languageId", "autore"}, {"version", 1}, {"text", line}}}}}}
                       .dump());
    server.publish_pending();

    const std::string changes[2] = {change_message(edited, 2), change_message(line, 3)};
    int round = 0;
    for (auto _ : state) {
        const int before = published;
        server.receive(changes[round++ % 2]);
        server.publish_pending();
        if (published != before + 1) {
            state.SkipWithError("no diagnostics published after the change");
            break;
        }
    }
    if (errors)
        state.SkipWithError("the embedded scenario has errors");
}

BENCHMARK(lsp_change)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
