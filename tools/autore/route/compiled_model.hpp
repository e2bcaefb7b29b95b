#pragma once
// The compiled tables of an author's scenario, as the driver's documents and
// the timetable check read them: the scenario records, the route cells and the
// train file's own bytes (for the source lines of its stations). Everything
// else in this folder takes these tables, never files.

#include "autore/diagnostics/diagnostic.hpp"
#include "compile/compile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <filesystem>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace autore {

struct ScenarioSources {
    std::filesystem::path line_file;
    std::filesystem::path train_file;
    std::string scenario; // UTF-8, the name the line file gives
    std::string train;    // UTF-8, the name the train file gives
    // The files' bytes when they are in memory already; none: read from the files.
    std::optional<std::string_view> line_bytes;
    std::optional<std::string_view> train_bytes;
};

struct CompiledModel {
    bool compiled = false;             // false: no tables (the reason is in problems)
    bool data_errors = false;          // the compile step recorded a data error; the tables hold what was read
    std::vector<std::string> problems;   // a source that cannot be read, in one line
    std::vector<Diagnostic> diagnostics; // the data errors, each at its place
    tratta::ScenarioRecords records;
    std::vector<tratta::RouteCell> cells;
    int station_count = 0; // the stations stand in records 1 to station_count
    std::string train_bytes;
};

// Compiles the two sources in memory as the program does; the author's files
// are only read.
CompiledModel compile_model(const ScenarioSources& sources);

// The same tables from a compile already made of the sources (with where each
// object came from noted), and the train file's bytes.
CompiledModel model_of(const tratta::CompileResult& compiled, std::string train_bytes);

} // namespace autore
