#pragma once
// What the sources of a scenario add to its route page: the line each object
// came from, and the diagnostics of the check at their chainages. The page
// draws the binary files, so the sources must be the ones they were compiled
// from: sources that compile to other files are refused.

#include "autore/route_page/view_extras.hpp"
#include "autore/scenario_files/binary_files.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "autore/scenario_files/route_output.hpp"

#include <optional>
#include <string>

namespace autore {

// Compiles the two files in memory, compares what they make with the binary
// files given, and checks them; a problem that keeps them from being read, or
// binaries they do not compile to, is returned instead (the extras are then
// left as they were).
std::optional<std::string> add_sources(const CompileRequest& files, const CompiledFiles& binaries, ViewExtras& extras);

// The route page of an author's two files straight from the sources, compiled
// once in memory: the tables as the simulator would load them (none when the
// compile makes no files), with the source lines and the diagnostics.
struct SourcesPage {
    std::optional<LoadedScenario> scenario;
    ViewExtras extras;
    bool data_error = false; // an error among the diagnostics: the drawing may stop short of it
};

// Nothing is written; a problem that keeps the files from being read is returned instead.
// Without the line table (`line_table` false) the compile does not lay the track
// plan metre by metre and the scenario has none: for a page that keeps the plan
// it already drew from the same line file.
std::optional<std::string> page_from_sources(const CompileRequest& files, SourcesPage& page, bool line_table = true);

} // namespace autore
