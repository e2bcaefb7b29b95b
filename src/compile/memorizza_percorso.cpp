#include "compile/memorizza_percorso.hpp"

#include "model/check_codes.hpp"
#include "model/error_box.hpp"
#include "model/error_meanings.hpp"
#include "model/passata_finale.hpp"
#include "model/run_state.hpp"
#include "source/memorizza_dati.hpp"

#include <string>

namespace tratta {

void memorizza_percorso(RunState& s, int32_t j, CompiledFiles& files, const LineTableReady& ready)
{
    s.j = j;
    s.error_code = 0;
    s.error_at_m = 0;
    s.errors.clear();
    s.records.clear();

    // Nothing after the line file changes the plan of the track: its file is
    // final once the line file is read.
    const auto line_read = [&] {
        if (s.j == 0 || !s.cells.exists() || !s.profile.exists())
            return;
        files.line_table = s.profile.take_file();
        if (!files.line_table.empty() && ready(files.line_table))
            Bytes().swap(files.line_table);
    };
    if (ready)
        memorizza_dati(s, line_read);
    else
        memorizza_dati(s);

    // Without a route length there is no grid to finish or write.
    if (!s.cells.exists()) {
        std::string cause = "nessuna griglia del percorso dopo la lettura";
        if (s.error_code != 0)
            cause += " (errore " + std::to_string(s.error_code) + ": " + std::string(error_meaning(s.error_code)) + ")";
        throw RunFailure(cause);
    }

    passata_finale(s);
    timbra(s);

    // The files are made in the order the program writes them; all three are
    // complete before any of them is written anywhere.
    if (s.j != 0 && s.profile.exists())
        files.line_table = s.profile.take_file();
    ByteBuffer records;
    encode_scenario_records(s.records, records);
    files.records = records.take();
    ByteBuffer grid;
    encode_route_cells(s.cells, grid);
    files.grid = grid.take();
}

} // namespace tratta
