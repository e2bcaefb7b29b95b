#include "app/scenario_files.hpp"

#include "app/files.hpp"
#include "scenario/text_writer.hpp"

namespace tratta {

void scrivi_dati(const std::filesystem::path& file, DataSet lines)
{
    write_file_replacing(file, encode_data_set(lines));
}

void dati_linea(const FileNames& names) { scrivi_dati(names.line_source, linea_data()); }
void dati_treno(const FileNames& names) { scrivi_dati(names.train_source, treno_data()); }
void dati_note(const FileNames& names) { scrivi_dati(names.notes, note_data()); }
void dati_rallentamenti(const FileNames& names) { scrivi_dati(names.slowdowns, rallentamenti_data()); }
void dati_scheda(const FileNames& names) { scrivi_dati(names.timetable, scheda_data()); }

} // namespace tratta
