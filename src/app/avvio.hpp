#pragma once
// Start-up: the whole run of the program, from the two names to the end.

#include <cstdint>
#include <filesystem>
#include <string>

namespace tratta {

struct RunState;
struct RecordedError;

inline constexpr const char* scenario_constant = "Tratta_Esempio";
inline constexpr const char* train_constant = "TR 000 Esempio";

// How a run ended: 0 clean, 1 failure (error box or a file failure; nothing
// more written), 2 data error recorded (files written, error reported).
struct RunOutcome {
    int exit_status = 0;
    std::string message; // what the user is shown; empty on a clean run
    bool error_box = false; // the message is the text of the error box
};

// The names of the embedded scenario and the folder of the run.
void imposta_nomi(RunState& state, const std::filesystem::path& folder);

// The compile step on the source files already in the state's folder, with
// every way it can end turned into an outcome.
RunOutcome compile_outcome(RunState& state, int32_t j);

// Writers in their fixed order, then the compile step with j = 1.
RunOutcome esegui_scenario(RunState& state);

// A recorded data error as one line: file:line: errore N a M m: meaning.
std::string describe_error(const RunState& state);

// The same, naming the source files as given (UTF-8) in place of the run's
// own: an author's files compiled under the program's names in another folder.
std::string describe_error(const RunState& state, const std::string& line_source,
                           const std::string& train_source);
std::string describe_error(const RecordedError& error, const std::string& line_source,
                           const std::string& train_source);

// The program's entry: window, run, report, exit status.
int avvio();

} // namespace tratta
