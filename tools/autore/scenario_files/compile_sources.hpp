#pragma once
// Compiling an author's own line file and train file into the three binary
// files, exactly as the program compiles its embedded scenario, without ever
// touching the author's files: both are read once, compiled in memory, and
// only the binaries are written.

#include "app/compile_purpose.hpp"
#include "app/source_files.hpp"
#include "autore/diagnostics/diagnostic.hpp"
#include "autore/diagnostics/report_formats.hpp"
#include "compile/compile.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace autore {

struct CompileRequest {
    std::filesystem::path line_file;  // normally "<S>_linea.txt"
    std::filesystem::path train_file; // normally "<S>_<T>-.txt"
    std::filesystem::path out_dir = ".";
    std::string scenario; // UTF-8; empty: taken from the line file's name
    std::string train;    // UTF-8; empty: taken from the train file's name
    bool line_table = true; // false: no per-metre line table (j = 0)
};

struct CompileReport {
    int exit_status = 0; // 0 clean, 2 data error (files written), 1 nothing written
    std::vector<Diagnostic> diagnostics;         // the data errors, in order, then the warnings
    SourceNames names;                           // the two files as the diagnostics name them
    std::vector<std::string> problems;           // what kept the files from being written, one line each
    std::vector<std::filesystem::path> written; // the binary files made, in order
};

// An author's two files as read, and the names the program would give the
// scenario (Windows-1252).
struct AuthorFiles {
    tratta::LoadedSource line;
    tratta::LoadedSource train;
    std::string scenario_name;
    std::string train_name;
};

// Why the two source files cannot be read (missing, a folder, not a plain
// file, unreadable), naming the path; nothing when both can.
std::optional<std::string> sources_problem(const std::filesystem::path& line_file,
                                           const std::filesystem::path& train_file);

// Reads both files and forms the names; a problem that keeps the files from
// being compiled (a name that cannot be formed, a file that cannot be read)
// is returned instead.
std::optional<std::string> read_author_files(const CompileRequest& request, AuthorFiles& files);

// An author's scenario compiled in memory: the files and what the compile
// made of them. The result refers to the sources' bytes, so the whole lives
// together.
struct AuthorScenario : AuthorFiles {
    tratta::CompileResult result;
};

// Reads and compiles for that purpose; nothing is written. A problem that keeps the compile
// from running (a name that cannot be formed, a file that cannot be read) is
// returned in `problem` with no scenario.
struct AuthorCompile {
    std::unique_ptr<AuthorScenario> scenario;
    std::string problem;
};
AuthorCompile compile_author_files(const CompileRequest& request, tratta::CompilePurpose purpose);

CompileReport compile_sources(const CompileRequest& request);

// The two names (UTF-8) a request compiles under, from its options or from
// the file names as the program forms them; the problem when there are none
// or they cannot stand in a file name.
std::optional<std::string> resolve_names(const CompileRequest& request, std::string& scenario, std::string& train);

// The names the program would read these files under, or nothing.
std::optional<std::string> scenario_from_line_file(const std::filesystem::path& line_file);
std::optional<std::string> train_from_train_file(const std::filesystem::path& train_file,
                                                 const std::string& scenario);

} // namespace autore
