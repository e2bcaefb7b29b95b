#pragma once
// Start-up: the whole run of the program, from the two names to the end.

#include "model/source_places.hpp"

#include <filesystem>
#include <string>

namespace tratta {

inline constexpr const char* scenario_constant = "Tratta_Esempio";
inline constexpr const char* train_constant = "TR 000 Esempio";

// How a run ended: 0 clean, 1 failure (error box or a file failure; nothing
// more written), 2 data error recorded (files written, error reported).
struct RunOutcome {
    int exit_status = 0;
    std::string message;    // what the user is shown; empty on a clean run
    bool error_box = false; // the message is the text of the error box
};

struct ScenarioTexts;

// The embedded scenario run in this folder: the five texts written, then the
// two sources compiled as below.
RunOutcome esegui_scenario(const std::filesystem::path& folder);
// The same for any scenario a program carries.
RunOutcome esegui_scenario(const std::filesystem::path& folder, const ScenarioTexts& texts);

// The two sources of a scenario in the folder compiled as the program
// compiles them: read, compiled in memory, deleted as far as the reader has
// done with them, and the three binary files written (without the line table
// when line_table is false). Names are Windows-1252 bytes.
RunOutcome compile_folder_sources(const std::filesystem::path& folder, const std::string& scenario_name,
                                  const std::string& train_name, bool line_table = true);

// A data error as one line: file:line: errore N a M m: meaning, naming the
// source files as given (UTF-8).
std::string describe_error(const DataError& error, const std::string& line_source,
                           const std::string& train_source);

// The program's entry: window, run, report, exit status.
int avvio();
// The entry of a packed program: the same run, of the scenario appended to
// its own file; one that is missing or damaged gets the error box and nothing
// is written.
int avvio_pacchetto();

} // namespace tratta
