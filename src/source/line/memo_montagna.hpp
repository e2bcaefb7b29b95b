#pragma once
// Mountain sides: stretches of the route that run along a mountain, with their
// side code in every cell and, on request, a marker in every fourth cell.

#include <cstdint>

namespace tratta {

struct RunState;

// What a mountain needs to know of the ones before it.
struct MountainTrack {
    int64_t count = 0;
    int64_t previous_end_m = 0;
};

// Places one mountain from start_m to end_m. A code above 10 means code - 10
// with markers; a mountain that begins at most 150 m after the previous one's
// end takes side code 3. Both changes are made to the caller's code. The
// stretch is cut at the last cell of the grid. Reports no error.
void memo_montagna(RunState& state, MountainTrack& track, int32_t& start_m, int32_t& end_m, int32_t& code);

} // namespace tratta
