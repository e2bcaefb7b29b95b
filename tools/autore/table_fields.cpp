#include "autore/table_fields.hpp"

namespace autore {

std::vector<NamedValue> record_fields(const tratta::ScenarioRecord& r)
{
    return {{"kind", r.kind},   {"start_m", r.start_m}, {"end_m", r.end_m},   {"at_m", r.at_m},
            {"flag_a", r.flag_a}, {"int_a", r.int_a},   {"int_b", r.int_b},   {"int_c", r.int_c},
            {"int_d", r.int_d}, {"int_e", r.int_e},     {"flag_b", r.flag_b}, {"flag_c", r.flag_c},
            {"flag_d", r.flag_d}, {"flag_e", r.flag_e}, {"time_s", r.time_s}};
}

std::vector<NamedValue> cell_fields(const tratta::RouteCell& c)
{
    return {{"kind", c.kind},         {"value", c.value},   {"value2", c.value2},     {"value3", c.value3},
            {"value4", c.value4},     {"aux", c.aux},       {"approach", c.approach}, {"side", c.side},
            {"speed5", c.speed5},     {"gradient", c.gradient}, {"adhesion", c.adhesion}};
}

std::string_view kind_name(uint8_t kind)
{
    switch (kind) {
    case tratta::kind_none: return "nessuno";
    case tratta::kind_signal: return "segnale";
    case tratta::kind_slowdown_end: return "fine rallentamento";
    case tratta::kind_slowdown_start: return "inizio rallentamento";
    case tratta::kind_slowdown_warning: return "avviso rallentamento";
    case tratta::kind_slowdown_marker: return "tabella di preavviso";
    case tratta::kind_speed_indicator: return "indicatore di velocità";
    case tratta::kind_station_stop: return "fermata di stazione";
    case tratta::kind_mountain_marker: return "montagna";
    case tratta::kind_code_point: return "punto di abbattimento";
    case tratta::kind_code_point_plain: return "abbattimento senza codice";
    case tratta::kind_sign_board: return "cartello indicatore";
    default: break;
    }
    return "tipo sconosciuto";
}

} // namespace autore
