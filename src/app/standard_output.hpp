#pragma once
// Output meant for standard output is reported when it cannot be written (a
// full disk, a closed pipe): the caller then ends with a non-zero status.

#include <iosfwd>
#include <string_view>

namespace tratta {

// Writes the bytes to standard output and flushes it; a failure is a
// FileFailure on standard output.
void write_standard_output(std::string_view bytes);

// Flushes a stream bound for standard output; one that could not take all it
// was given is a FileFailure on standard output.
void flush_standard_output(std::ostream& out);

} // namespace tratta
