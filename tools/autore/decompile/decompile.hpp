#pragma once
// Sources again for a scenario that exists only compiled: the line file and
// the train file written back from the three binary files, checked by
// compiling them in memory and comparing with the files given, byte for byte.

#include "autore/decompile/rebuilt_sources.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace autore {

struct DecompileRequest {
    std::vector<std::filesystem::path> inputs; // one folder, or the compiled files one by one
    std::filesystem::path out_dir;
    std::string scenario; // UTF-8; chooses in the folder and names the sources (default: the one in the records)
    std::string train;
    bool force = false;   // write over sources already there
};

struct DecompileReport {
    int exit_status = 0; // 0 exact, 2 written but not exact, 1 nothing written
    std::vector<std::string> messages;  // what was found, for the author (standard output)
    std::vector<std::string> problems;  // why the result is not exact, or why nothing was written
    std::vector<std::filesystem::path> written;
};

DecompileReport decompile_scenario(const DecompileRequest& request);

// Why the tables read are not one compiled scenario (a route length the
// compile refuses, files of another route, no stamp of a finished compile),
// naming the file; nothing when they are.
std::optional<std::string> scenario_problem(const LoadedScenario& scenario, const CompiledFiles& files);

} // namespace autore
