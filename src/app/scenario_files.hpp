#pragma once
// The five writers of a scenario: each writes one of its texts as a file of
// the program folder, replacing any older file of that name, in this order:
// the line file, the train file, the notes, the slowdown order, the
// timetable sheet. The two sources live only until the compile has read and
// deleted them, so they are not flushed to the disk; the documents are.

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/scenario_texts.hpp"
#include "scenario/data_set.hpp"

#include <filesystem>
#include <string_view>

namespace tratta {

// Writes the data set as the file's whole new content.
void scrivi_dati(const std::filesystem::path& file, DataSet lines);

void dati_linea(const FileNames& names, const ScenarioTexts& texts);
void dati_treno(const FileNames& names, const ScenarioTexts& texts);
// The three documents for the driver, each complete beside its place...
StagedFile dati_note(const FileNames& names, const ScenarioTexts& texts);
StagedFile dati_rallentamenti(const FileNames& names, const ScenarioTexts& texts);
StagedFile dati_scheda(const FileNames& names, const ScenarioTexts& texts);

// ...and written as one set: the notes, the slowdown order and the timetable
// sheet all take their places, or none does.
void dati_documenti(const FileNames& names, const ScenarioTexts& texts);

} // namespace tratta
