#include "autore/route/table_fields.hpp"

#include "model/file_layouts.hpp"

#include <type_traits>

namespace autore {

std::vector<NamedValue> record_fields(const tratta::ScenarioRecord& r)
{
    std::vector<NamedValue> fields;
    tratta::for_each_field(r, [&fields](const tratta::LayoutField& f, const auto& value) {
        if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(value)>>)
            fields.push_back({f.name, value});
    });
    return fields;
}

std::vector<NamedValue> cell_fields(const tratta::RouteCell& c)
{
    std::vector<NamedValue> fields;
    tratta::for_each_field(c, [&fields](const tratta::LayoutField& f, auto value) { fields.push_back({f.name, value}); });
    return fields;
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
