#include "autore/driver_documents/timetable_table.hpp"

#include "autore/driver_documents/time_text.hpp"
#include "model/code_page.hpp"

#include <cmath>
#include <cstdio>

namespace autore {

namespace {

// Characters, not bytes, make the width of a column.
std::string padded(const std::string& utf8, std::size_t width)
{
    std::size_t chars = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++chars;
    return utf8 + std::string(chars < width ? width - chars : 1, ' ');
}

std::string rate_text(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string or_dash(const std::optional<double>& seconds, std::string (*text)(double))
{
    return seconds && std::isfinite(*seconds) ? text(*seconds) : "-";
}

std::string name_of(const DocumentData& d, std::size_t i) { return tratta::cp1252_to_utf8(d.stations[i].name); }

} // namespace

std::string timetable_table(const DocumentData& d, const TimetablePlan& plan)
{
    std::string out = "Treno " + tratta::cp1252_to_utf8(d.train) + ": accelerazione " + rate_text(plan.accel_ms2) +
                      " m/s², frenatura " + rate_text(plan.decel_ms2) + " m/s², sosta " +
                      std::to_string(static_cast<long long>(std::lround(plan.dwell_s))) + " s\n\n";

    out += "Tratte tra le stazioni con orario\n";
    out += padded("da", 28) + padded("a", 28) + padded("previsto", 11) + padded("minimo", 11) + "margine\n";
    for (const Leg& l : plan.legs) {
        const std::optional<double> scheduled = l.scheduled_s > 0 ? std::optional<double>(l.scheduled_s) : std::nullopt;
        const std::optional<double> margin =
            scheduled && l.shortest_s ? std::optional<double>(*scheduled - *l.shortest_s) : std::nullopt;
        out += padded(name_of(d, l.from), 28) + padded(name_of(d, l.to), 28) +
               padded(or_dash(scheduled, duration_text), 11) + padded(or_dash(l.shortest_s, duration_text), 11) +
               or_dash(margin, duration_text) + "\n";
    }
    if (plan.legs.empty())
        out += "(nessuna)\n";

    out += "\nStazioni\n";
    out += padded("km", 10) + padded("stazione", 28) + padded("fermata", 9) + padded("minimo", 11) +
           padded("recupero", 10) + "orario\n";
    for (std::size_t i = 0; i < d.stations.size(); ++i) {
        const StationPlan& s = plan.stations[i];
        const std::string km = km_text(official_km_m(d.chainages, d.stations[i].at_m));
        const std::string recovery = s.margin_s ? recovery_text(*s.margin_s) : "";
        out += padded(km, 10) + padded(name_of(d, i), 28) +
               padded(!s.in_run ? "fuori"
                      : s.stops ? "sì"
                                : "",
                      9) +
               padded(or_dash(s.running_s, duration_text), 11) + padded(recovery, 10) + or_dash(s.time_s, clock_text) +
               "\n";
    }
    return out;
}

} // namespace autore
