#pragma once
// The train half of the source reader: the train file into the records and
// the route grid (general values, profiles, stations, slowdowns, signals,
// code points).

#include "source/source_reader.hpp"

namespace tratta {

// A ReadFailure propagates to the failure path.
void leggi_treno(RunState& state, ReaderHandoff& handoff);

} // namespace tratta
