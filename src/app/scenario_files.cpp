#include "app/scenario_files.hpp"

#include "app/files.hpp"
#include "scenario/text_writer.hpp"

namespace tratta {

void scrivi_dati(const std::filesystem::path& file, DataSet lines)
{
    write_file_replacing(file, encode_data_set(lines));
}

void dati_linea(const FileNames& names, const ScenarioTexts& t) { write_file_replacing(names.line_source, t.line); }
void dati_treno(const FileNames& names, const ScenarioTexts& t) { write_file_replacing(names.train_source, t.train); }
void dati_note(const FileNames& names, const ScenarioTexts& t) { write_file_replacing(names.notes, t.notes); }
void dati_rallentamenti(const FileNames& names, const ScenarioTexts& t)
{
    write_file_replacing(names.slowdowns, t.slowdowns);
}
void dati_scheda(const FileNames& names, const ScenarioTexts& t) { write_file_replacing(names.timetable, t.timetable); }

} // namespace tratta
