#pragma once
// The command line of the authoring tool: its subcommands (export, compile,
// check, dump, plot, view, documents, timetable, pack, lsp, help, completion),
// each declared in one block of cli.cpp with its arguments and options, from
// which the parsing, the help and the bash completion are made.

#include <iosfwd>

namespace autore {

// Parses the arguments (UTF-8), runs the subcommand and returns the exit
// status (autore/command_line/exit_status.hpp): 0 done, 1 nothing done (a
// file missing, unreadable or unwritable), 2 the sources have a data error,
// 64 the command line itself is wrong.
int run_autore(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace autore
