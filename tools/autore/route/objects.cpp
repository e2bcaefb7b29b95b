#include "autore/route/objects.hpp"

#include "model/route_cells.hpp"

namespace autore {

std::string_view object_phrase(uint8_t kind)
{
    switch (kind) {
    case tratta::kind_none: return "nulla";
    case tratta::kind_signal: return "un segnale";
    case tratta::kind_slowdown_end: return "la fine di un rallentamento";
    case tratta::kind_slowdown_start: return "l'inizio di un rallentamento";
    case tratta::kind_slowdown_warning: return "l'avviso di un rallentamento";
    case tratta::kind_slowdown_marker: return "una tabella di preavviso di un rallentamento";
    case tratta::kind_speed_indicator: return "un indicatore di velocità";
    case tratta::kind_station_stop: return "la fermata di una stazione";
    case tratta::kind_mountain_marker: return "un segnalino di montagna";
    case tratta::kind_code_point: return "un punto di abbattimento";
    case tratta::kind_code_point_plain: return "un punto di abbattimento senza codice";
    case tratta::kind_sign_board: return "un cartello indicatore";
    default: break;
    }
    return "un oggetto di tipo sconosciuto";
}

} // namespace autore
