#pragma once
// The line file and the train file that a compiled scenario was made from,
// written again from its three tables as an author would write them: the
// sections and keys of the embedded scenario, numbers in columns, objects in
// order along the route, the profiles in as few lines as give the same
// cells, and none of what the compile adds by itself.

#include "autore/scenario_files/route_output.hpp"

#include "model/route_cells.hpp"

#include <cstdint>
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

// The two halves, each from the records, the plan and the cells given.
void rebuild_line_file(const LoadedScenario& scenario, const std::vector<tratta::RouteCell>& cells,
                       RebuiltSources& out);
void rebuild_train_file(const LoadedScenario& scenario, const std::vector<tratta::RouteCell>& cells,
                        RebuiltSources& out);

// The three last cells of a profile (gradient, speed limit, adhesion) lie
// beyond the lines, which reach cell N - 3 and leave them 0 (the
// first of them is the last cell a line may stand on). Lines that stand
// behind the cursor push it on, one cell each: the values for three lines at
// cell N - 2 that give those cells, or none when they are all 0.
template <class Value>
std::vector<int64_t> tail_values(const std::vector<tratta::RouteCell>& cells, Value value)
{
    std::vector<int64_t> tail;
    bool any = false;
    for (std::size_t i = cells.size() >= 3 ? cells.size() - 3 : 0; i < cells.size(); ++i) {
        tail.push_back(value(cells[i]));
        any = any || tail.back() != 0;
    }
    if (!any)
        tail.clear();
    return tail;
}

// Cell i of an object that the compile places 50 m after its position: the
// position that lands on it.
inline int64_t object_position_m(int64_t cell) { return (cell - 1) * 50; }

} // namespace autore
