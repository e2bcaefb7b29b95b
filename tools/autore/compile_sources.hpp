#pragma once
// Compiling an author's own line file and train file into the three binary
// files, exactly as the program compiles its embedded scenario, without ever
// touching the author's files: the compile step runs on copies in a private
// folder, and only the binaries come back.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tratta {
struct RunState;
}

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
    std::vector<std::string> problems;             // one line each, for the author
    std::vector<std::filesystem::path> written;   // the binary files made, in order
};

CompileReport compile_sources(const CompileRequest& request);

// The two names (UTF-8) a request compiles under, from its options or from
// the file names as the program forms them; the problem when there are none
// or they cannot stand in a file name.
std::optional<std::string> resolve_names(const CompileRequest& request, std::string& scenario, std::string& train);

// Every data error the compile step recorded, the replaced ones first, each
// one line naming the author's own files.
std::vector<std::string> recorded_errors(const tratta::RunState& state, const std::string& line_label,
                                         const std::string& train_label);

// The names the program would read these files under, or nothing.
std::optional<std::string> scenario_from_line_file(const std::filesystem::path& line_file);
std::optional<std::string> train_from_train_file(const std::filesystem::path& train_file,
                                                 const std::string& scenario);

} // namespace autore
