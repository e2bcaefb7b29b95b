#pragma once
// The body of the line file: gradients, curves, mountain sides, speed
// indicators and sign boards, each placed as its line is read, and the tail
// work that carries the last gradient and the track plan to the grid's end.

#include "source/line/gradients.hpp"
#include "source/line/memo_montagna.hpp"
#include "source/line/track_plan.hpp"
#include "source/source_reader.hpp"

namespace tratta {

struct LineBody {
    int32_t board_slot = ScenarioRecords::first_board_slot; // the record the next sign board's text takes
    MountainTrack mountains;
    GradientCursor gradients;
    int64_t metre = first_walked_metre; // the next point of the track plan
};

enum class BodyEnd {
    file_end, // the end of the file, or a position beyond the grid (error 15): the tail runs
    refused,  // any other error: the reading stops where it stands
};

// Sets the body going: the state above and the first two points of the plan.
LineBody start_line_body(RunState& state);

BodyEnd read_line_body(RunState& state, FieldReader& in, LineBody& body);

// The tail: the gradients of the rest of the grid, and the plan straight on
// to its end.
void finish_line_body(RunState& state, LineBody& body);

} // namespace tratta
