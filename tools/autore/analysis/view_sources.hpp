#pragma once
// What the sources of a scenario add to its route page: the line each object
// came from, and the diagnostics of the check at their chainages.

#include "autore/scenario_files/compile_sources.hpp"
#include "autore/route_page/view_extras.hpp"

#include <optional>
#include <string>

namespace autore {

// Compiles the two files in memory and checks them; a problem that keeps
// them from being read is returned instead.
std::optional<std::string> add_sources(const CompileRequest& files, ViewExtras& extras);

} // namespace autore
