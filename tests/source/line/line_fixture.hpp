#pragma once
// Runs the line half of the source reader on a small line file held in
// memory, the way the source reader runs it: a read failure takes the shared
// failure path (error 25, both sources deleted).

#include "model/run_state.hpp"
#include "source/line/leggi_linea.hpp"
#include "source/source_reader.hpp"
#include "support/temp_folder.hpp"

#include <memory>
#include <string>
#include <vector>

namespace tratta::testing {

struct LineRun {
    std::string line_bytes;
    std::string train_bytes = "[generale]\r\n[fine]\r\n";
    RunState state;
    ReaderHandoff handoff;
    bool train_next = false;

    // Whether the reader left each source file in the folder.
    bool line_file_left() const { return state.sources.line.exists() && !state.sources.line_deleted; }
    bool train_file_left() const { return state.sources.train.exists() && !state.sources.train_deleted; }
    const RouteCell& cell(int64_t i) const { return state.cells.at(i); }
};

// Runs the line half on these bytes as the line file (none when `bytes` is
// null), with a train file beside it.
inline std::unique_ptr<LineRun> run_line_bytes(const std::string* bytes, int32_t j = 1)
{
    auto run = std::make_unique<LineRun>();
    RunState& s = run->state;
    s.scenario_name = "Tratta_Prova";
    s.train_name = "TR 1 Prova";
    s.j = j;
    if (bytes) {
        run->line_bytes = *bytes;
        s.sources.line = SourceText::of(run->line_bytes);
    }
    s.sources.train = SourceText::of(run->train_bytes);
    try {
        run->train_next = leggi_linea(s, run->handoff);
    } catch (const ReadFailure& failure) {
        fallimento_lettura(s, failure);
    }
    return run;
}

inline std::unique_ptr<LineRun> run_line_text(const std::string& bytes, int32_t j = 1)
{
    return run_line_bytes(&bytes, j);
}

// A line file: the general section's lines, then the body's lines, then "[fine]".
inline std::string line_file(const std::vector<std::string>& general, const std::vector<std::string>& body)
{
    std::vector<std::string> lines{"[generale]"};
    lines.insert(lines.end(), general.begin(), general.end());
    lines.emplace_back("[corpo]");
    lines.insert(lines.end(), body.begin(), body.end());
    lines.emplace_back("[fine]");
    return crlf_lines(lines);
}

// A route of length_m metres with these body lines.
inline std::unique_ptr<LineRun> run_body(int32_t length_m, const std::vector<std::string>& body, int32_t j = 1)
{
    return run_line_text(line_file({"lunghezza percorso, " + std::to_string(length_m)}, body), j);
}

} // namespace tratta::testing
