#include "autore/decompile/finishing_points.hpp"
#include "autore/decompile/rebuilt_sources.hpp"
#include "autore/decompile/source_columns.hpp"

#include "model/route_cells.hpp"

#include <map>
#include <optional>
#include <set>
#include <utility>

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
    const int64_t last = static_cast<int64_t>(cells.size()) - 4; // N - 3
    const auto tail = tail_values(cells, value);
    bool any = !tail.empty();
    for (int64_t i = 0; i <= last; ++i)
        any = any || value(cells[static_cast<std::size_t>(i)]) != 0;
    if (any)
        for (int64_t i = 0; i <= last; ++i) {
            const int64_t v = value(cells[static_cast<std::size_t>(i)]);
            if (i == 0 || v != value(cells[static_cast<std::size_t>(i - 1)]))
                lines.add(key, {i * 50, v});
        }
    for (const int64_t v : tail)
        lines.add(key, {(last + 1) * 50, v});
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

// A signal's type and marker digit give a sum that stands, times 10 plus k,
// in the approach of the k-th of every second cell before it, and in the
// fourth value beside the tens. Of the sums the fourth value allows, the one
// that its approach cells still hold (a later signal may have written over
// some): first those cells that no other signal reaches, whose number can
// only be its own, then all of them. Many sums give the same low 8 bits in
// some cells; only the cells of its own tell the right one.
int64_t signal_sum(const std::vector<RouteCell>& cells, std::size_t c, const std::set<std::size_t>& shared)
{
    const int64_t v4 = cells[c].value4;
    const int64_t base = ((v4 % 10) + 10) % 10;
    int64_t best = base;
    std::pair<int, int> best_hits{0, 0}; // own cells, all cells
    for (int64_t sum = base; sum < 2560; sum += 10) {
        std::pair<int, int> hits{0, 0};
        for (std::size_t k = 1; k <= 4 && 2 * k <= c; ++k) {
            const std::size_t a = c - 2 * k;
            if (((sum * 10 + static_cast<int64_t>(k)) & 0xff) != cells[a].approach)
                continue;
            hits.first += shared.contains(a) ? 0 : 1;
            ++hits.second;
        }
        if (hits > best_hits) {
            best = sum;
            best_hits = hits;
        }
    }
    return best;
}

uint8_t approach_of(int64_t sum, std::size_t k) { return static_cast<uint8_t>((sum * 10 + static_cast<int64_t>(k)) & 0xff); }

// Signals in order of position, except where two write the approach of the
// same cell: the one whose number the cell keeps comes after the others.
std::vector<std::size_t> signal_order(const std::vector<RouteCell>& cells, const std::map<std::size_t, int64_t>& sums)
{
    std::map<std::size_t, std::vector<std::size_t>> writers; // approach cell -> signals
    for (const auto& [c, sum] : sums)
        for (std::size_t k = 1; k <= 4 && 2 * k <= c; ++k)
            writers[c - 2 * k].push_back(c);
    std::map<std::size_t, std::set<std::size_t>> after; // signal -> signals that must come before it
    for (const auto& [x, list] : writers) {
        if (list.size() < 2)
            continue;
        std::optional<std::size_t> last;
        for (const std::size_t c : list)
            if (approach_of(sums.at(c), (c - x) / 2) == cells[x].approach)
                last = c;
        if (!last)
            continue;
        for (const std::size_t c : list)
            if (c != *last)
                after[*last].insert(c);
    }
    std::vector<std::size_t> order;
    std::set<std::size_t> placed;
    std::set<std::size_t> waiting;
    for (const auto& [c, sum] : sums)
        waiting.insert(c);
    while (!waiting.empty()) {
        // The first signal along the route that waits for none.
        auto next = waiting.end();
        for (auto it = waiting.begin(); it != waiting.end() && next == waiting.end(); ++it) {
            bool ready = true;
            for (const std::size_t before : after[*it])
                ready = ready && placed.contains(before);
            if (ready)
                next = it;
        }
        if (next == waiting.end())
            next = waiting.begin(); // the cells ask for a circle: the first along the route
        order.push_back(*next);
        placed.insert(*next);
        waiting.erase(next);
    }
    return order;
}

void signal_section(const std::vector<RouteCell>& cells, std::string& out)
{
    // The approach cells that two signals or more reach.
    std::map<std::size_t, int> reached;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (cells[c].kind == tratta::kind_signal)
            for (std::size_t k = 1; k <= 4 && 2 * k <= c; ++k)
                ++reached[c - 2 * k];
    std::set<std::size_t> shared;
    for (const auto& [a, n] : reached)
        if (n > 1)
            shared.insert(a);
    std::map<std::size_t, int64_t> sums;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (cells[c].kind == tratta::kind_signal)
            sums[c] = signal_sum(cells, c, shared);
    SourceColumns lines;
    for (const std::size_t c : signal_order(cells, sums)) {
        const auto& s = cells[c];
        const int64_t sum = sums[c];
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

void code_point_section(const LoadedScenario& s, const std::vector<RouteCell>& cells, std::string& out)
{
    SourceColumns lines;
    for (const int64_t c : authored_code_points(cells, s.records[ScenarioRecords::train_header].end_m)) {
        const auto& cell = cells[static_cast<std::size_t>(c)];
        lines.add("abbattimento", {c * 50, cell.kind == tratta::kind_code_point ? cell.value : 0});
    }
    lines.write(out, "[codici]");
}

} // namespace

void rebuild_train_file(const LoadedScenario& s, const std::vector<RouteCell>& cells, RebuiltSources& out)
{
    general_section(s.records, out.train);
    profile_section(cells, "aderenza", [](const RouteCell& c) { return int64_t{c.adhesion}; }, out.train,
                    "[aderenze]");
    profile_section(cells, "velocita", [](const RouteCell& c) { return int64_t{c.speed5} * 5; }, out.train,
                    "[vel_limite]");
    station_section(s.records, station_count(s.records, cells), out);
    slowdown_section(cells, out.train);
    signal_section(cells, out.train);
    code_point_section(s, cells, out.train);
    out.train += "[fine]\r\n";
}

RebuiltSources rebuild_sources(const LoadedScenario& scenario)
{
    // Cell 1 carries the stamp of a finished compile and the grid's check
    // code in its first two values, over what the object there held (0 in a
    // clean compile).
    std::vector<RouteCell> cells = scenario.cells;
    if (cells.size() > 1) {
        cells[1].value = 0;
        cells[1].value2 = 0;
    }
    RebuiltSources out;
    rebuild_line_file(scenario, cells, out);
    rebuild_train_file(scenario, cells, out);
    return out;
}

} // namespace autore
