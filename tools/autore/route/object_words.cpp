#include "autore/route/object_words.hpp"

#include "autore/route/route_data.hpp"
#include "autore/route/speed_indicator.hpp"
#include "autore/route/table_fields.hpp"
#include "model/code_page.hpp"

#include <cstdio>

namespace autore {

namespace {

using tratta::ScenarioRecords;

std::string km_h(int speed) { return std::to_string(speed) + " km/h"; }

std::string three_speeds(const IndicatorSpeeds& s, std::size_t first, int type)
{
    if (s.speed_kmh[first] == 0 && s.speed_kmh[first + 1] == 0 && s.speed_kmh[first + 2] == 0)
        return "nessuna, tipo " + std::to_string(type);
    return std::to_string(s.speed_kmh[first]) + " · " + std::to_string(s.speed_kmh[first + 1]) + " · " +
           km_h(s.speed_kmh[first + 2]) + ", tipo " + std::to_string(type);
}

std::string record_text(const ScenarioRecords& records, int index)
{
    if (index < 1 || index >= ScenarioRecords::count)
        return {};
    return tratta::cp1252_to_utf8(records[index].text);
}

void slowdown_words(const tratta::RouteCell& c, ObjectWords& w)
{
    w.label = std::to_string(c.value);
    w.words.push_back("velocità " + km_h(c.value));
    if (c.value2 != 0)
        w.words.push_back("seconda velocità " + km_h(c.value2));
    if (c.kind != tratta::kind_slowdown_warning && c.value3 != 0)
        w.words.push_back("quarto valore " + std::to_string(c.value3));
}

} // namespace

ObjectWords describe_cell(const tratta::RouteCell& c, std::size_t index, const ScenarioRecords& records)
{
    ObjectWords w;
    w.name = std::string(kind_name(c.kind));
    switch (c.kind) {
    case tratta::kind_signal:
        w.words.push_back("valori " + std::to_string(c.value) + " · " + std::to_string(c.value2) + " · " +
                          std::to_string(c.value3) + " · " + std::to_string(c.value4));
        if (c.aux != 0)
            w.words.push_back("valore aggiuntivo " + std::to_string(c.aux));
        break;
    case tratta::kind_slowdown_end:
    case tratta::kind_slowdown_start:
        slowdown_words(c, w);
        break;
    case tratta::kind_slowdown_warning:
        slowdown_words(c, w);
        w.words.push_back("1200 m prima dell'inizio del rallentamento");
        break;
    case tratta::kind_slowdown_marker:
        w.label = std::to_string(c.value);
        w.words.push_back("tabella n. " + std::to_string(c.value) + " prima del punto di avviso");
        break;
    case tratta::kind_speed_indicator: {
        const IndicatorSpeeds s = decode_speed_indicator(c);
        w.label = indicator_label(s);
        w.words.push_back("velocità 1-3: " + three_speeds(s, 0, s.type1));
        w.words.push_back("velocità 4-6: " + three_speeds(s, 3, s.type2));
        w.words.push_back("valori della cella " + std::to_string(c.value) + " · " + std::to_string(c.value2) + " · " +
                          std::to_string(c.value3) + " · " + std::to_string(c.value4));
        break;
    }
    case tratta::kind_station_stop: {
        const std::string station = record_text(records, c.value);
        w.label = station;
        w.words.push_back("fermata della stazione " + (station.empty() ? std::string("?") : station) + " (record " +
                          std::to_string(c.value) + ")");
        break;
    }
    case tratta::kind_mountain_marker:
        w.words.push_back("lato di montagna, codice " + std::to_string(c.side));
        break;
    case tratta::kind_code_point:
        w.label = std::to_string(c.value);
        w.words.push_back("codice " + std::to_string(c.value));
        break;
    case tratta::kind_code_point_plain:
        w.words.push_back("punto senza codice");
        break;
    case tratta::kind_sign_board: {
        const std::string text = record_text(records, c.value);
        w.label = board_label(text);
        w.words.push_back("testo «" + text + "» (record " + std::to_string(c.value) + ")");
        break;
    }
    default:
        w.words.push_back("tipo " + std::to_string(c.kind) + ", valori " + std::to_string(c.value) + " · " +
                          std::to_string(c.value2) + " · " + std::to_string(c.value3) + " · " +
                          std::to_string(c.value4));
        break;
    }
    w.words.push_back("cella " + std::to_string(index));
    return w;
}

ObjectWords describe_station(const tratta::ScenarioRecord& r, int index)
{
    ObjectWords w;
    w.name = "stazione";
    w.label = tratta::cp1252_to_utf8(r.text);
    const std::string time = time_of_day(r.time_s);
    w.words.push_back(w.label);
    w.words.push_back(time.empty() ? std::string("nessun orario") : "orario " + time);
    w.words.push_back("tipo " + std::to_string(r.kind) + ", zona da " + std::to_string(r.start_m) + " a " +
                      std::to_string(r.end_m) + " m");
    std::string fields;
    for (const auto& f : record_fields(r)) {
        const std::string_view name = f.name;
        if (f.value == 0 || name == "kind" || name == "start_m" || name == "end_m" || name == "at_m" ||
            name == "time_s")
            continue;
        fields += (fields.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(f.value);
    }
    w.words.push_back("record " + std::to_string(index) + (fields.empty() ? std::string() : ": " + fields));
    return w;
}

std::string time_of_day(int32_t seconds)
{
    if (seconds <= 0)
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

std::string board_label(const std::string& text)
{
    std::string out;
    std::string group;
    bool inside = false;
    const auto flush = [&] {
        const auto first = group.find_first_not_of(' ');
        if (first != std::string::npos) {
            const auto last = group.find_last_not_of(' ');
            out += (out.empty() ? "" : " · ") + group.substr(first, last - first + 1);
        }
        group.clear();
    };
    for (const char c : text) {
        if (c == '(' && !inside) {
            flush();
            inside = true;
        } else if (c == ')' && inside) {
            flush();
            inside = false;
        } else {
            group += c;
        }
    }
    flush();
    return out;
}

} // namespace autore
