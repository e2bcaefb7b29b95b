#pragma once
// The five writers of the embedded scenario: each writes its data set as a
// text file of the program folder, replacing any older file of that name.

#include "app/file_names.hpp"
#include "scenario/data_set.hpp"

#include <filesystem>

namespace tratta {

// Writes the data set as the file's whole new content.
void scrivi_dati(const std::filesystem::path& file, DataSet lines);

void dati_linea(const FileNames& names);
void dati_treno(const FileNames& names);
void dati_note(const FileNames& names);
void dati_rallentamenti(const FileNames& names);
void dati_scheda(const FileNames& names);

} // namespace tratta
