#pragma once
// The compile step: reads the line file and the train file into the model,
// finishes the route grid, stamps it and makes the three binary files.

#include "model/byte_buffer.hpp"

#include <cstdint>
#include <functional>

namespace tratta {

struct RunState;

// The three binary files of a compiled scenario, as their bytes.
struct CompiledFiles {
    Bytes line_table; // "_linea.dat"; empty when the line table is not made
    Bytes records;    // ".sim"
    Bytes grid;       // ".dat"
};

// Called with the line table as soon as it is complete, while the train file
// is still to be read, so that the program may start writing it out. It
// returns true when it has taken the bytes (moved them out of the block): the
// files then come without the line table, which the caller holds. A compile
// that then makes no file leaves the caller to drop what it took.
using LineTableReady = std::function<bool(Bytes& line_table)>;

// j non-zero: the per-metre line table is built and made too. The sources
// and the names are already in the state.
// Throws ErrorBox (1250/1251: no file made) or RunFailure (no route grid:
// no file made).
void memorizza_percorso(RunState& state, int32_t j, CompiledFiles& files, const LineTableReady& ready = {});

} // namespace tratta
