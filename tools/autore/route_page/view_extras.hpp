#pragma once
// What the route page shows beyond the compiled files: the source files the
// scenario was compiled from, the file and line each placed object came from,
// and the diagnostics of a check, each at its chainage.

#include "autore/diagnostics/diagnostic.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autore {

// A line of a source file (names and texts in UTF-8); line and column count from 1, 0 = not known.
struct SourceLine {
    std::string file;
    int32_t line = 0;
    int32_t column = 0;
};

// Where one placed object came from. Objects of the route grid are named by
// their cell, stations and sign-board texts by their record; a sign board has
// both, and either gives it its place.
struct ObjectSource {
    enum class Table : uint8_t { cell, record };
    Table table = Table::cell;
    int64_t index = 0; // cell 0..N of the route grid, or record 0..86
    SourceLine place;
};

struct ViewDiagnostic {
    std::optional<int64_t> at_m; // chainage along the route, when the fault has one
    Severity severity = Severity::error;
    std::string code;    // e.g. "21"
    std::string message; // Italian, one line
    SourceLine place;   // file empty when not tied to a source file
};

// The two source files named on the command line.
struct ViewSources {
    std::string line_file; // file names as shown to the author
    std::string train_file;
};

struct ViewExtras {
    std::optional<ViewSources> sources;
    std::vector<ObjectSource> object_sources;
    std::vector<ViewDiagnostic> diagnostics;
};

} // namespace autore
