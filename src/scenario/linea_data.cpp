// The line file of the embedded scenario (placeholder until the full line is laid).
#include "scenario/data_set.hpp"

namespace tratta {

namespace {
constexpr std::string_view lines[] = {
    "[generale]",
    "lunghezza percorso,    334000",
    "progressiva chilometrica uno,    31100,    3050,    0",
    "progressiva chilometrica due,    284500,    -284500,    0",
    "progressiva chilometrica tre,    315950,    412050,    1",
    "sfondo uno,    1",
    "sfondo due,    0",
    "sfondo tre,    0",
    "ripetizione segnali 9 codici,    7050,    330700",
    "[curve]",
    "curvas1,  1350,  150",
    "[pendenze]",
    "pendenza,  0,   0",
    "pendenza,  600,   -11",
    "pendenza,  1200,   0",
    "[fine]",
    end_marker,
};
} // namespace

DataSet linea_data() { return lines; }

} // namespace tratta
