#pragma once
// The finishing pass over the route grid: code points of value 180 before
// signals that stand shortly before a slowdown's warning point, before every
// slowdown start, every 400 m inside slow slowdowns and before the first signal
// after them.

namespace tratta {

struct RunState;

void passata_finale(RunState& state);

} // namespace tratta
