#pragma once
// What the lines of the train file share while it is read: the file, the two
// profiles with their cursors, the station counter and the board slot that the
// line half left. Each kind of line is read by one routine that says how the
// read goes on after it.

#include "model/run_state.hpp"
#include "source/field_reader.hpp"
#include "source/grid_check.hpp"

#include <cstdint>
#include <optional>

namespace tratta {

// A stretch property laid cell by cell from the start of the grid: the cursor
// is the next cell still to be set, previous the value of the last line read
// (none until the profile's first line).
struct Profile {
    int32_t cursor = 0;
    std::optional<int32_t> previous;
    SourcePlace previous_place; // the field that gave the previous value
};

struct TrainRead {
    RunState& state;
    FieldReader& in;
    int32_t board_slot; // the record the next sign board would take
    Profile speed{};
    Profile adhesion{};
    int32_t station = 1; // the record the next station line fills
};

// How the read goes on after a line.
enum class LineEnd : uint8_t {
    next_key,   // read the next key
    completion, // a position beyond the grid (error 15): the profiles are still completed
    error_exit, // a data error: the file is deleted and the read returns at once
};

// The grid check of a positioned line: a position beyond the grid's end (or
// before its start) records error 15 at that position; the read then goes to
// its completion.
inline bool position_accepted(RunState& s, int32_t position_m, const SourcePlace& field,
                              int32_t margin = grid_margin)
{
    if (grid_accepts(s.cells, position_m, margin))
        return true;
    segnala(s, ErrorNumber::beyond_grid, position_m, field);
    return false;
}

// After a signal or a slowdown: one that could not be placed has recorded its
// error and ends the read. One that was placed still ends it when a range
// error of the line file stands: the read stops at the first signal or
// slowdown after such an error, with that line's position.
LineEnd after_placing(RunState& state, bool placed, int32_t position_m);

// The routines of the line kinds; each reads its own fields. A ReadFailure
// propagates to the failure path.
LineEnd read_speed_line(TrainRead& r);
LineEnd read_adhesion_line(TrainRead& r);
LineEnd read_signal_line(TrainRead& r);
LineEnd read_slowdown_line(TrainRead& r);
LineEnd read_code_point_line(TrainRead& r);
LineEnd read_station_line(TrainRead& r);

// Carries both profiles on from their cursors to the end of the grid.
void complete_profiles(TrainRead& r);

} // namespace tratta
