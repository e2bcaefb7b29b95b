#include "scenario/text_writer.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/run_state.hpp"
#include "model/code_page.hpp"

namespace tratta {

std::string encode_data_set(DataSet lines)
{
    std::string out;
    const std::size_t n = lines.size() < data_set_capacity ? lines.size() : data_set_capacity;
    for (std::size_t i = 0; i < n; ++i) {
        if (lines[i] == end_marker)
            break;
        out += utf8_to_cp1252(lines[i]);
        out += "\r\n";
    }
    return out;
}

void scrivi_dati(const std::filesystem::path& file, DataSet lines)
{
    write_file_emptied(file, encode_data_set(lines));
}

void dati_linea(const RunState& s) { scrivi_dati(file_names(s).line_source, linea_data()); }
void dati_treno(const RunState& s) { scrivi_dati(file_names(s).train_source, treno_data()); }
void dati_note(const RunState& s) { scrivi_dati(file_names(s).notes, note_data()); }
void dati_rallentamenti(const RunState& s)
{
    scrivi_dati(file_names(s).slowdowns, rallentamenti_data());
}
void dati_scheda(const RunState& s) { scrivi_dati(file_names(s).timetable, scheda_data()); }

} // namespace tratta
