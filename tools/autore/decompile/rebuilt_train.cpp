#include "autore/decompile/finishing_points.hpp"
#include "autore/decompile/rebuilt_sources.hpp"
#include "autore/decompile/source_columns.hpp"

#include "model/route_cells.hpp"

#include <set>

namespace autore {

namespace {

using tratta::RouteCell;
using tratta::ScenarioRecord;
using tratta::ScenarioRecords;

int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

void general_section(const ScenarioRecords& r, std::string& out)
{
    SourceColumns general;
    const auto& train = r[ScenarioRecords::train_header];
    const auto& run = r[ScenarioRecords::run_header];
    general.add("numero vetture", {train.at_m});
    general.add("percentuale massa frenata", {train.start_m});
    general.add("sabbia", {run.int_a});
    general.add("orologio", {run.int_c, run.int_d, run.int_e});
    general.write(out, "[generale]");
}

// A profile of cells 0 to N - 3: one line where the value changes. Before
// its first line a profile takes that line's value, so the first line stands
// at 0; a profile that is 0 all along needs no line.
template <class Value>
void profile_section(const std::vector<RouteCell>& cells, const char* key, Value value, std::string& out,
                     const std::string& header)
{
    SourceColumns lines;
    const int64_t last = static_cast<int64_t>(cells.size()) - 3;
    bool any = false;
    for (int64_t i = 0; i <= last; ++i)
        any = any || value(cells[static_cast<std::size_t>(i)]) != 0;
    if (any)
        for (int64_t i = 0; i <= last; ++i) {
            const int64_t v = value(cells[static_cast<std::size_t>(i)]);
            if (i == 0 || v != value(cells[static_cast<std::size_t>(i - 1)]))
                lines.add(key, {i * 50, v});
        }
    lines.write(out, header);
}

int station_count(const ScenarioRecords& r, const std::vector<RouteCell>& cells)
{
    int lowest_board = ScenarioRecords::first_board_slot + 1;
    for (const auto& c : cells)
        if (c.kind == tratta::kind_sign_board && c.value >= 1 && c.value < lowest_board)
            lowest_board = c.value;
    int n = 0;
    while (n + 1 < lowest_board && r[n + 1] != ScenarioRecord{})
        ++n;
    return n;
}

void station_section(const ScenarioRecords& r, int count, RebuiltSources& out)
{
    SourceColumns lines;
    for (int i = 1; i <= count; ++i) {
        const auto& s = r[i];
        const int64_t at = s.at_m;
        int64_t length = 0;
        int64_t third = s.flag_d;
        if (s.kind >= 5 && s.kind <= 8) {
            length = at - s.start_m;
        } else {
            // The zone is centred on the station, and ends 50 m further on
            // with the third flag (which the first station does not keep).
            length = 2 * (at - static_cast<int64_t>(s.start_m));
            const bool moved = s.end_m - (at + length / 2) == 50;
            if (i == 1 || third == 0)
                third = moved ? 1 : 0;
        }
        const int64_t t = s.time_s;
        const int64_t hours = floor_div(t, 3600);
        const int64_t minutes = floor_div(t - hours * 3600, 60);
        const int64_t seconds = t - hours * 3600 - minutes * 60;
        std::string name;
        if (!text_field(s.text, name))
            out.notes.push_back("il nome della stazione del record " + std::to_string(i) +
                                " non si può scrivere in una riga");
        lines.add("stazione",
                  {at, s.kind, length, s.flag_a, s.flag_e, third, s.int_a, s.int_b, s.flag_b, s.int_c, s.int_d,
                   s.int_e, s.flag_c, hours, minutes, seconds},
                  name, true);
    }
    lines.write(out.train, "[stazioni]");
}

bool same_values(const RouteCell& a, const RouteCell& b)
{
    return a.value == b.value && a.value2 == b.value2 && a.value3 == b.value3;
}

// Each start cell with the first end cell after it that carries the same
// speeds and fourth value; a slowdown of no length has its end under its start.
void slowdown_section(const std::vector<RouteCell>& cells, std::string& out)
{
    SourceColumns lines;
    std::set<std::size_t> ends_taken;
    for (std::size_t b = 0; b < cells.size(); ++b) {
        const auto& start = cells[b];
        if (start.kind != tratta::kind_slowdown_start)
            continue;
        std::size_t end = b;
        for (std::size_t e = b + 1; e < cells.size(); ++e)
            if (cells[e].kind == tratta::kind_slowdown_end && same_values(cells[e], start) && !ends_taken.contains(e)) {
                end = e;
                ends_taken.insert(e);
                break;
            }
        const int64_t at = object_position_m(static_cast<int64_t>(b));
        // The four boards before the warning point, 1 next to it.
        bool boards = at > 1500 && b >= 28;
        for (std::size_t j = 0; boards && j < 4; ++j) {
            const auto& m = cells[b - 25 - j];
            boards = m.kind == tratta::kind_slowdown_marker && m.value == static_cast<int16_t>(j + 1);
        }
        lines.add("rallentamento", {at, start.value, static_cast<int64_t>(end - b) * 50, start.value3, boards ? 1 : 0,
                                    start.value2});
    }
    lines.write(out, "[rallentamenti]");
}

// A signal's type and marker digit, times 10, plus k in the approach of the
// k-th cell of every second one before it; the same sum stands in the fourth
// value beside the tens. The first approach that still holds it (a later
// object may have written over) gives the sum.
int64_t signal_sum(const std::vector<RouteCell>& cells, std::size_t c)
{
    const int64_t v4 = cells[c].value4;
    const int64_t base = ((v4 % 10) + 10) % 10;
    for (int k = 1; k <= 4; ++k) {
        if (c < static_cast<std::size_t>(2 * k))
            break;
        const uint8_t approach = cells[c - static_cast<std::size_t>(2 * k)].approach;
        for (int64_t sum = base; sum < 2560; sum += 10)
            if (((sum * 10 + k) & 0xff) == approach)
                return sum;
    }
    return base;
}

void signal_section(const std::vector<RouteCell>& cells, std::string& out)
{
    SourceColumns lines;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const auto& s = cells[c];
        if (s.kind != tratta::kind_signal)
            continue;
        const int64_t sum = signal_sum(cells, c);
        int64_t type = sum / 3;
        int64_t marker = sum % 3;
        // Only a signal of type 2 keeps its extra value.
        if (s.aux != 0 && type != 2) {
            type = 2;
            marker = sum - 6;
        }
        const int64_t fourth_tens = (s.value4 - sum) / 10;
        lines.add("segnale", {object_position_m(static_cast<int64_t>(c)), type, s.value / 10, s.value2 / 10,
                              s.value3 / 10, fourth_tens, marker, s.value % 10, s.value2 % 10, s.value3 % 10, s.aux});
    }
    lines.write(out, "[segnali]");
}

void code_point_section(const LoadedScenario& s, std::string& out)
{
    SourceColumns lines;
    for (const int64_t c : authored_code_points(s.cells, s.records[ScenarioRecords::train_header].end_m)) {
        const auto& cell = s.cells[static_cast<std::size_t>(c)];
        lines.add("abbattimento", {c * 50, cell.kind == tratta::kind_code_point ? cell.value : 0});
    }
    lines.write(out, "[codici]");
}

} // namespace

void rebuild_train_file(const LoadedScenario& s, RebuiltSources& out)
{
    general_section(s.records, out.train);
    profile_section(s.cells, "aderenza", [](const RouteCell& c) { return int64_t{c.adhesion}; }, out.train,
                    "[aderenze]");
    profile_section(s.cells, "velocita", [](const RouteCell& c) { return int64_t{c.speed5} * 5; }, out.train,
                    "[vel_limite]");
    station_section(s.records, station_count(s.records, s.cells), out);
    slowdown_section(s.cells, out.train);
    signal_section(s.cells, out.train);
    code_point_section(s, out.train);
    out.train += "[fine]\r\n";
}

RebuiltSources rebuild_sources(const LoadedScenario& scenario)
{
    RebuiltSources out;
    rebuild_line_file(scenario, out);
    rebuild_train_file(scenario, out);
    return out;
}

} // namespace autore
