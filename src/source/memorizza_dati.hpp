#pragma once
// The source reader: the line file, then the train file, into the model.
// Data errors are recorded in error_code / error_at_m; both source files are
// deleted by the time it returns, except where an early line error leaves the
// train file in the folder.

#include <functional>

namespace tratta {

struct RunState;

// line_read, when given, is called once the line file has been read through
// and before the train file is: the plan of the track is complete by then.
void memorizza_dati(RunState& state, const std::function<void()>& line_read = {});

} // namespace tratta
