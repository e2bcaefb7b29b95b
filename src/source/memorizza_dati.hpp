#pragma once
// The source reader: the line file, then the train file, into the model.
// Data errors are recorded in error_code / error_at_m; both source files are
// deleted by the time it returns, except where an early line error leaves the
// train file in the folder.

namespace tratta {

struct RunState;

void memorizza_dati(RunState& state);

} // namespace tratta
