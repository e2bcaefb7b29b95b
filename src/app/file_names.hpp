#pragma once
// Every file of a run lies in the program folder and is named from the
// scenario name S and the train name T (blanks of T included).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tratta {

struct FileNames {
    std::filesystem::path line_source;   // S_linea.txt
    std::filesystem::path train_source;  // S_T-.txt
    std::filesystem::path notes;         // S_T_note.txt
    std::filesystem::path slowdowns;     // S_T_rallentamenti.txt
    std::filesystem::path timetable;     // S_T_scheda_treno.txt
    std::filesystem::path line_table;    // S_linea.dat
    std::filesystem::path records;       // S_T.sim
    std::filesystem::path grid;          // S_T.dat
};

FileNames file_names(const std::filesystem::path& folder, const std::string& scenario_name,
                     const std::string& train_name);

// A file name as the program forms it: the folder joined with the name. Names
// are Windows-1252 bytes; on Windows they become wide characters.
std::filesystem::path in_folder(const std::filesystem::path& folder, const std::string& name);

// Text shown to a person with its control bytes spelt out ("\x1B"), so that a
// name never moves the terminal's cursor or cuts a message box short.
std::string without_control_bytes(std::string_view text);

// Why a scenario or train name (Windows-1252 bytes) cannot be part of the
// run's file names on Windows or Linux, or nothing when it can: empty, a path
// separator or another character Windows forbids (/ \ : * ? " < > |, so no
// drive either), a control byte, a trailing dot or blank (so neither "." nor
// ".."), or a device name of Windows (CON, PRN, AUX, NUL, COM1-9, LPT1-9)
// before its first dot. Every name kept stays inside the folder it is joined to.
std::optional<std::string> name_problem(std::string_view name);

// The same for the pair, plus the length of every file name they form, with
// the suffix that the writer's temporary and backup names add to it.
std::optional<std::string> names_problem(std::string_view scenario_name, std::string_view train_name);

} // namespace tratta
