#pragma once
// The one writing procedure behind the five writers: a data set becomes a text
// file of Windows-1252 lines, each ended by CR LF, up to (not including) the
// end marker.

#include "scenario/data_set.hpp"

#include <filesystem>
#include <string>

namespace tratta {

struct RunState;

// The bytes of the text file that a data set makes.
std::string encode_data_set(DataSet lines);

// Empties the file as every file of the run is emptied, then writes the data set.
void scrivi_dati(const std::filesystem::path& file, DataSet lines);

void dati_linea(const RunState& state);
void dati_treno(const RunState& state);
void dati_note(const RunState& state);
void dati_rallentamenti(const RunState& state);
void dati_scheda(const RunState& state);

} // namespace tratta
