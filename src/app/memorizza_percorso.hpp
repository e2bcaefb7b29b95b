#pragma once
// The compile step: reads the line file and the train file into the model,
// finishes the route grid, stamps it and writes the three binary files.

#include <cstdint>

namespace tratta {

struct RunState;

// j non-zero: the per-metre line table is built and written too.
// Throws ErrorBox (1250/1251, nothing written), RunFailure (no route grid,
// nothing written) or FileFailure (a file that cannot be written).
void memorizza_percorso(RunState& state, int32_t& j);

} // namespace tratta
