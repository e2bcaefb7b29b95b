#pragma once
// Temporary slowdowns: a warning point 1200 m before the start, the start and
// end cells and, on request, four marker cells before the warning point.

#include <cstdint>

namespace tratta {

struct RunState;

// The six numbers of a "rallentamento" line, in line order.
struct SlowdownLine {
    int32_t start_m = 0;
    int32_t speed = 0;        // km/h
    int32_t length_m = 0;
    int32_t fourth = 0;       // kept in the start and end cells
    int32_t marker_flag = 0;  // not 0: marker cells before the warning point
    int32_t second_speed = 0; // kept in the slowdown's cells when not 0
};

// Writes the slowdown and returns true, or records an error with the start
// position and returns false: 17 (warning point taken), 18 (start taken), 26
// (end cell outside the grid) or 19 (end taken) before writing anything, or
// 20 (a marker cell taken) after the warning point, start and end.
bool memo_rallentamento(RunState& state, SlowdownLine& line);

} // namespace tratta
