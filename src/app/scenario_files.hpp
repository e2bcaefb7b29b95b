#pragma once
// The five writers of a scenario: each writes one of its texts as a file of
// the program folder, replacing any older file of that name, in this order:
// the line file, the train file, the notes, the slowdown order, the
// timetable sheet.

#include "app/file_names.hpp"
#include "app/scenario_texts.hpp"
#include "scenario/data_set.hpp"

#include <filesystem>
#include <string_view>

namespace tratta {

// Writes the data set as the file's whole new content.
void scrivi_dati(const std::filesystem::path& file, DataSet lines);

void dati_linea(const FileNames& names, const ScenarioTexts& texts);
void dati_treno(const FileNames& names, const ScenarioTexts& texts);
void dati_note(const FileNames& names, const ScenarioTexts& texts);
void dati_rallentamenti(const FileNames& names, const ScenarioTexts& texts);
void dati_scheda(const FileNames& names, const ScenarioTexts& texts);

} // namespace tratta
