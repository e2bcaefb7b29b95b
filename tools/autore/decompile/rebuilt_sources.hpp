#pragma once
// The line file and the train file that a compiled scenario was made from,
// written again from its three tables as an author would write them: the
// sections and keys of the embedded scenario, numbers in columns, objects in
// order along the route, the profiles in as few lines as give the same
// cells, and none of what the compile adds by itself.

#include "autore/scenario_files/route_output.hpp"

#include <string>
#include <vector>

namespace autore {

struct RebuiltSources {
    std::string line;  // Windows-1252 bytes, CR LF
    std::string train;
    // What could not be written back as it stands in the tables, one line
    // each, in the author's words (the compile of the sources then differs).
    std::vector<std::string> notes;
};

RebuiltSources rebuild_sources(const LoadedScenario& scenario);

// The two halves, each from the tables it reads.
void rebuild_line_file(const LoadedScenario& scenario, RebuiltSources& out);
void rebuild_train_file(const LoadedScenario& scenario, RebuiltSources& out);

// Cell i of an object that the compile places 50 m after its position: the
// position that lands on it.
inline int64_t object_position_m(int64_t cell) { return (cell - 1) * 50; }

} // namespace autore
