#pragma once
// The two subcommands over an author's own line and train files: the driver's
// three documents made from them, and the timetable check. The author's files
// are only read.

#include "autore/diagnostics/report_formats.hpp"
#include "autore/driver_documents/timetable.hpp"
#include "compile/compile.hpp"

#include <filesystem>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace autore {

struct ScenarioRun {
    std::filesystem::path line_file;  // "<S>_linea.txt"
    std::filesystem::path train_file; // "<S>_<T>-.txt"
    TrainDynamics dynamics;
    // The files' bytes when they are in memory already; none: read from the files.
    std::optional<std::string_view> line_bytes;
    std::optional<std::string_view> train_bytes;
    // The compile already made of these bytes (with where each object came
    // from noted), so that the documents need no compile of their own; none:
    // they are compiled here.
    const tratta::CompileResult* compiled = nullptr;
};

// The three documents of a scenario as the bytes of their files.
struct DocumentTexts {
    std::string notes;     // "<S>_<T>_note.txt"
    std::string slowdowns; // "<S>_<T>_rallentamenti.txt"
    std::string timetable; // "<S>_<T>_scheda_treno.txt"
};

struct MadeDocuments {
    std::optional<DocumentTexts> texts; // none: the sources gave no tables
    bool data_errors = false;
    std::vector<std::string> problems; // what kept the documents from being made, then each diagnostic in a line
};

// The documents made in memory; nothing is written.
MadeDocuments make_documents(const ScenarioRun& run);

struct DocumentsReport {
    int exit_status = 0;               // 0 written; 2 written, the sources have a data error; 1 nothing written
    std::vector<std::string> problems; // what kept the documents from being made
    SourceNames names;                 // the two files as the diagnostics name them
    std::vector<Diagnostic> diagnostics; // the sources' data errors, then the timetable's findings
    std::vector<std::filesystem::path> written;
};

// Writes "<S>_<T>_note.txt", "<S>_<T>_rallentamenti.txt" and
// "<S>_<T>_scheda_treno.txt" into out_dir, in Windows-1252 with CR LF, all
// three complete before any of them replaces an older one.
DocumentsReport write_documents(const ScenarioRun& run, const std::filesystem::path& out_dir);

struct TimetableReport {
    int exit_status = 0; // 0 the timetable can be kept; 2 findings or data errors; 1 nothing worked out
    std::string table;   // UTF-8
    std::vector<std::string> problems;
    SourceNames names;
    std::vector<Diagnostic> diagnostics; // the sources' data errors, then the timetable's findings
};

TimetableReport check_timetable(const ScenarioRun& run);

} // namespace autore
