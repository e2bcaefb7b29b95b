#pragma once
// The command line of the authoring tool: one command and its subcommands
// (export, compile, check, dump, plot, view, documents, timetable, lsp), each with --help.

#include <iosfwd>

namespace autore {

// Parses the arguments, runs the subcommand and returns the exit status:
// 0 done, 1 nothing done (bad argument, unreadable file...), 2 compiled with a
// data error in the sources.
int run_autore(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace autore
