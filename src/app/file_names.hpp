#pragma once
// Every file of a run lies in the program folder and is named from the
// scenario name S and the train name T (blanks of T included).

#include <filesystem>
#include <string>

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

} // namespace tratta
