#pragma once
// The line half of the source reader: the line file into the header records,
// the route grid and the per-metre line table.

#include "source/source_reader.hpp"

namespace tratta {

// Returns true when the train half must run next (normal end or error 15),
// false on every other exit. A ReadFailure propagates to the failure path.
bool leggi_linea(RunState& state, ReaderHandoff& handoff);

} // namespace tratta
