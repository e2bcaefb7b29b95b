#pragma once
// What the sources of a scenario add to its route page: the line each object
// came from, and the diagnostics of the check at their chainages. The page
// draws the binary files, so the sources must be the ones they were compiled
// from: sources that compile to other files are refused.

#include "autore/route_page/view_extras.hpp"
#include "autore/scenario_files/binary_files.hpp"
#include "autore/scenario_files/compile_sources.hpp"

#include <optional>
#include <string>

namespace autore {

// Compiles the two files in memory, compares what they make with the binary
// files given, and checks them; a problem that keeps them from being read, or
// binaries they do not compile to, is returned instead (the extras are then
// left as they were).
std::optional<std::string> add_sources(const CompileRequest& files, const CompiledFiles& binaries, ViewExtras& extras);

} // namespace autore
