#pragma once
// What the argument parser refused, told in Italian from the subcommand's
// own declarations: which argument or option, and what it wants.

#include <string>

namespace CLI {
class ParseError;
} // namespace CLI

namespace autore {

class Command;

std::string parse_error_message(const CLI::ParseError& error, Command& command);

} // namespace autore
