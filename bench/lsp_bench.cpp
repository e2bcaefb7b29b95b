// The language server while an author edits the embedded line file: from
// the editor's change to the diagnostics published for it, through the
// server's message handler in memory, with the embedded train file beside
// the line file. Each change is undone by the next: /0 sets a background code
// and back (the scenario stays clean), /1 moves a speed board onto the cell
// of another and back (error 21 in the line file, and the reading stops
// there: the check reads it again without that line to find what the error
// hides). The edited line ends in a number of blanks of its own each round,
// so that no round finds its texts already analysed.
#include "autore/lsp/server.hpp"
#include "model/code_page.hpp"
#include "scenario/data_set.hpp"
#include "scenario/text_writer.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

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
    const bool with_error = state.range(0) == 1;
    const std::string from = with_error ? "indicatori_vmax,  3950," : "sfondo due,    0";
    const std::string to = with_error ? "indicatori_vmax,  1000," : "sfondo due,    1";
    std::string edited = line;
    const auto at = edited.find(from);
    if (at == std::string::npos) {
        state.SkipWithError("the line to edit is not in the embedded line file");
        return;
    }
    edited.replace(at, from.size(), to);
    const std::size_t line_end = edited.find('\n', at);
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

    // Blanks after the last field of the edited line change nothing the reader takes.
    constexpr int variants = 64;
    std::vector<std::string> changes;
    for (int i = 0; i < variants; ++i) {
        std::string a = edited;
        std::string b = line;
        a.insert(line_end - 1, static_cast<std::size_t>(i + 1), ' ');
        b.insert(line_end - 1 - to.size() + from.size(), static_cast<std::size_t>(i + 1), ' ');
        changes.push_back(change_message(i % 2 == 0 ? a : b, i + 2));
    }
    std::size_t round = 0;
    for (auto _ : state) {
        const int before = published;
        server.receive(changes[round++ % changes.size()]);
        server.publish_pending();
        if (published != before + 1) {
            state.SkipWithError("no diagnostics published after the change");
            break;
        }
    }
    if (errors != with_error)
        state.SkipWithError(with_error ? "the error was not found" : "the embedded scenario has errors");
}

BENCHMARK(lsp_change)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
