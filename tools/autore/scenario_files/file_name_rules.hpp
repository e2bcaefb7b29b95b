#pragma once
// Scenario and train names become parts of file names on Windows and Linux
// alike, and the simulator reads them in its single-byte code page. A name
// that cannot stand in a file name there is refused before anything is made.

#include <optional>
#include <string>
#include <string_view>

namespace autore {

// Why a name (UTF-8) cannot be used, or nothing when it can: empty, a path
// separator or another character Windows forbids (/ \ : * ? " < > |), a
// control character, a trailing dot or blank, or a character the
// Windows-1252 code page lacks.
std::optional<std::string> name_problem(std::string_view name);

// The same for the pair, plus the length of every file name they form, with
// the suffix that the writer's temporary and backup names add to it.
std::optional<std::string> names_problem(std::string_view scenario, std::string_view train);

} // namespace autore
