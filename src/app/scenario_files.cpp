#include "app/scenario_files.hpp"

#include "app/files.hpp"
#include "scenario/text_writer.hpp"

#include <vector>

namespace tratta {

void scrivi_dati(const std::filesystem::path& file, DataSet lines)
{
    write_file_replacing(file, encode_data_set(lines));
}

void dati_linea(const FileNames& names, const ScenarioTexts& t)
{
    write_file_replacing(names.line_source, t.line, Durability::scratch);
}
void dati_treno(const FileNames& names, const ScenarioTexts& t)
{
    write_file_replacing(names.train_source, t.train, Durability::scratch);
}
StagedFile dati_note(const FileNames& names, const ScenarioTexts& t) { return StagedFile(names.notes, t.notes); }
StagedFile dati_rallentamenti(const FileNames& names, const ScenarioTexts& t)
{
    return StagedFile(names.slowdowns, t.slowdowns);
}
StagedFile dati_scheda(const FileNames& names, const ScenarioTexts& t)
{
    return StagedFile(names.timetable, t.timetable);
}

void dati_documenti(const FileNames& names, const ScenarioTexts& t)
{
    std::vector<StagedFile> staged;
    staged.reserve(3);
    staged.push_back(dati_note(names, t));
    staged.push_back(dati_rallentamenti(names, t));
    staged.push_back(dati_scheda(names, t));
    replace_together(staged);
}

} // namespace tratta
