#pragma once
// `autore pack`: an author's scenario as a program of its own, like the
// embedded one. A prebuilt runner (Linux or Windows) gets the scenario's
// names and five texts appended; started, it writes them beside itself,
// compiles them and leaves the three binaries and the three documents, as
// the embedded program does.

#include "autore/scenario_files/compile_sources.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace autore {

enum class PackTarget { windows, linux };

struct PackRequest {
    CompileRequest sources;                       // the line file and the train file (and their names)
    std::vector<std::filesystem::path> documents; // none (made from the sources) or the three documents
    PackTarget target = PackTarget::windows;
    std::optional<std::filesystem::path> runner;  // the runner to use; none: found beside the tool
    std::filesystem::path output;
};

struct PackReport {
    int exit_status = 0; // 0 packed; 2 packed, the sources have a data error; 1 nothing written
    std::vector<Diagnostic> diagnostics;
    SourceNames names;
    std::vector<std::string> problems;
    std::vector<std::filesystem::path> written;
};

// tool_folder: where the tool itself stands, to find the runners from it
// (autore/scenario_files/runner_places.hpp).
PackReport pack_scenario(const PackRequest& request, const std::filesystem::path& tool_folder);

} // namespace autore
