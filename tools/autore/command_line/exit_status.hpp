#pragma once
// The exit statuses of the tool, one meaning each for every subcommand.

#include <stdexcept>

namespace autore::exit_status {

inline constexpr int done = 0;       // done; for compile and check: no data error
inline constexpr int failed = 1;     // nothing done or nothing written: a file missing, unreadable or unwritable
inline constexpr int data_error = 2; // the sources have a data error (compile still writes the files)
inline constexpr int usage = 64;     // the command line itself is wrong: nothing was read or written

} // namespace autore::exit_status

namespace autore {

// A command line that asks for what the tool cannot do (an option that does
// not apply to the file given, say): the subcommand stops before it reads or
// writes anything and the tool ends with exit_status::usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace autore
