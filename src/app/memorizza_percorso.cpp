#include "app/memorizza_percorso.hpp"

#include "app/errore.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/run_state.hpp"
#include "model/check_codes.hpp"
#include "model/error_meanings.hpp"
#include "model/passata_finale.hpp"
#include "source/memorizza_dati.hpp"

#include <string>

namespace tratta {

void memorizza_percorso(RunState& s, int32_t& j)
{
    s.j = j;
    s.error_code = 0;
    s.error_at_m = 0;
    s.error_place = {};
    s.replaced_errors.clear();
    s.records.clear();

    memorizza_dati(s);

    // Without a route length there is no grid to finish or write.
    if (!s.cells.exists()) {
        std::string cause = "nessuna griglia del percorso dopo la lettura";
        if (s.error_code != 0)
            cause += " (errore " + std::to_string(s.error_code) + ": " +
                     std::string(error_meaning(s.error_code)) + ")";
        throw RunFailure(cause);
    }

    passata_finale(s);
    timbra(s);

    const FileNames names = file_names(s);
    if (s.j != 0) {
        ByteBuffer table;
        encode_line_profile(s.profile, table);
        write_file_emptied(names.line_table, table.bytes());
    }
    {
        ByteBuffer records;
        encode_scenario_records(s.records, records);
        write_file_emptied(names.records, records.bytes());
    }
    {
        ByteBuffer grid;
        encode_route_cells(s.cells, grid);
        write_file_emptied(names.grid, grid.bytes());
    }
}

} // namespace tratta
