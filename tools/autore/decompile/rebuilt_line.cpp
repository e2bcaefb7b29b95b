#include "autore/decompile/curve_runs.hpp"
#include "autore/decompile/mountain_lines.hpp"
#include "autore/decompile/rebuilt_sources.hpp"
#include "autore/decompile/source_columns.hpp"

#include "model/route_cells.hpp"
#include "source/grid_check.hpp"
#include "source/line/progressive_ordina.hpp"

#include <algorithm>
#include <array>
#include <map>

namespace autore {

namespace {

using tratta::RouteCell;
using tratta::ScenarioRecords;

void general_section(const ScenarioRecords& r, RebuiltSources& out)
{
    SourceColumns general;
    general.add("lunghezza percorso", {r[ScenarioRecords::train_header].end_m});
    // The chainages as the author wrote them: the compile puts them in order
    // of their starts and adds 100 m to an offset that counts downwards. Of
    // the ways of writing the three, the first that orders back into the same
    // records is taken (the records read from "tre", "due", "uno" as they stand).
    std::array<tratta::ScenarioRecord, 3> held{};
    for (int i = 0; i < 3; ++i) {
        held[static_cast<std::size_t>(i)] = r[ScenarioRecords::chainage_last + i];
        auto& h = held[static_cast<std::size_t>(i)];
        if (h.at_m == 1)
            h.end_m -= 100;
    }
    std::array<int, 3> order{0, 1, 2};
    bool found = false;
    do {
        ScenarioRecords trial;
        for (int i = 0; i < 3; ++i) {
            const auto& h = held[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
            auto& t = trial[ScenarioRecords::chainage_last + i];
            t.start_m = h.start_m;
            t.end_m = h.end_m;
            t.at_m = h.at_m;
        }
        try {
            tratta::progressive_ordina(trial);
        } catch (...) {
            continue;
        }
        bool same = true;
        for (int i = 0; i < 3; ++i) {
            const auto& a = trial[ScenarioRecords::chainage_last + i];
            const auto& b = r[ScenarioRecords::chainage_last + i];
            same = same && a.start_m == b.start_m && a.end_m == b.end_m && a.at_m == b.at_m;
        }
        found = same;
    } while (!found && std::next_permutation(order.begin(), order.end()));
    if (!found) {
        order = {0, 1, 2};
        out.notes.push_back("le tre progressive chilometriche dei record 81-83 non vengono da nessun ordine delle "
                            "righe: scritte come stanno");
    }
    static constexpr const char* chainage_keys[] = {"progressiva chilometrica tre", "progressiva chilometrica due",
                                                    "progressiva chilometrica uno"};
    // Written "uno" first, as authors write them; a chainage all zero is no line.
    for (int i = 2; i >= 0; --i) {
        const auto& h = held[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
        if (h.start_m != 0 || h.end_m != 0 || h.at_m != 0)
            general.add(chainage_keys[i], {h.start_m, h.end_m, h.at_m});
    }
    const auto& scenario = r[ScenarioRecords::scenario_header];
    general.add("sfondo uno", {scenario.start_m});
    general.add("sfondo due", {scenario.at_m});
    general.add("sfondo tre", {scenario.end_m});
    const auto& run = r[ScenarioRecords::run_header];
    if (run.start_m != 0 || run.end_m != 0 || run.at_m != 0) {
        // The digit of the key gives the codes; with no stretch (end 0) the
        // count is 0 whatever the key says.
        const bool four = run.at_m == 4;
        if (run.at_m != 4 && run.at_m != 9 && !(run.at_m == 0 && run.end_m == 0))
            out.notes.push_back("la ripetizione dei segnali del record 86 ha " + std::to_string(run.at_m) +
                                " codici: una riga ne dà solo 4 o 9");
        general.add(four ? "ripetizione segnali 4 codici" : "ripetizione segnali 9 codici", {run.start_m, run.end_m});
    }
    general.write(out.line, "[generale]");
}

void curve_section(const LoadedScenario& s, RebuiltSources& out)
{
    if (!s.line_table)
        return;
    const auto found = recover_curves(*s.line_table);
    if (found.unmatched_m)
        out.notes.push_back("la pianta della linea al metro " + std::to_string(*found.unmatched_m) +
                            " non viene da nessun passo della compilazione: le curve da lì in poi mancano");
    tratta::RouteCells grid;
    if (s.records[ScenarioRecords::train_header].end_m >= 0)
        grid.create(s.records[ScenarioRecords::train_header].end_m);
    SourceColumns curves;
    const CurveRun* previous = nullptr;
    for (const auto& c : found.curves) {
        // A curve that begins in the last hundred metres or so, where the
        // grid check refuses a position, can only go on from the one before
        // it: written from further back, it turns from where that one ended.
        int64_t start = c.first_m - 1;
        if (previous && previous->last_m == c.first_m - 1 && grid.exists())
            while (start > 0 && !tratta::grid_accepts(grid, start))
                --start;
        curves.add(std::string("curva") + (c.left ? "s" : "d") + std::to_string(c.curve_class),
                   {start, c.last_m - start});
        previous = &c;
    }
    curves.write(out.line, "[curve]");
}

// The gradient of cells 0 to N - 3, the only ones the lines reach: one line
// where it changes. Before the first line the track is level.
void gradient_section(const std::vector<RouteCell>& cells, RebuiltSources& out)
{
    SourceColumns lines;
    const int64_t last = static_cast<int64_t>(cells.size()) - 4; // N - 3
    int current = 100;
    for (int64_t i = 0; i <= last; ++i) {
        const int g = cells[static_cast<std::size_t>(i)].gradient;
        if (g != current)
            lines.add("pendenza", {i * 50, g - 100});
        current = g;
    }
    for (const int64_t g : tail_values(cells, [](const RouteCell& c) { return int64_t{c.gradient}; }))
        lines.add("pendenza", {(last + 1) * 50, g - 100});
    lines.write(out.line, "[pendenze]");
}

void mountain_section(const std::vector<RouteCell>& cells, int32_t route_length_m, RebuiltSources& out)
{
    SourceColumns lines;
    for (const auto& m : mountain_lines(cells, route_length_m))
        lines.add("montagna", {m.start_m, m.end_m, m.code});
    lines.write(out.line, "[montagne]");
}

// A board's two speeds (the second divided by 5 and added): the same speed
// twice where it gives the value, as authors write them; else the second
// left empty or the remainder.
void split_speeds(int16_t value, std::string& first, std::string& second)
{
    const int64_t v = value;
    // s × 20 + s / 5 is s × 20.2.
    const int64_t near = v * 5 / 101;
    for (int64_t s = near - 1; s <= near + 1; ++s) {
        // s / 5 to the nearest whole number, halves to even: a fifth is never a half.
        const int64_t fifth = (s >= 0 ? (2 * s + 5) / 10 : -((-2 * s + 5) / 10));
        if (s * 20 + fifth == v && s != 0) {
            first = std::to_string(s);
            second = first;
            return;
        }
    }
    const int64_t whole = v >= 0 ? v / 20 : -((-v + 19) / 20);
    const int64_t rest = v - whole * 20;
    first = std::to_string(whole);
    second = rest == 0 ? "" : std::to_string(rest * 5);
}

void board_sections(const LoadedScenario& s, const std::vector<RouteCell>& cells, RebuiltSources& out)
{
    SourceColumns indicators;
    std::map<int, int64_t> boards; // slot -> cell
    std::vector<int64_t> stop_cells; // a board there is read over by the station's stop
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& c = cells[i];
        const auto cell = static_cast<int64_t>(i);
        // A station's stop takes its cell whatever it held, and keeps what a
        // speed indicator there left in the other values: the indicator stood
        // there before.
        const bool under_stop = c.kind == tratta::kind_station_stop && c.aux == 0 &&
                                (c.value2 != 0 || c.value3 != 0 || c.value4 != 0);
        if (c.kind == tratta::kind_station_stop && !under_stop)
            stop_cells.push_back(cell);
        if (c.kind == tratta::kind_speed_indicator || under_stop) {
            std::array<std::string, 3> first;
            std::array<std::string, 3> second;
            split_speeds(c.value, first[0], second[0]);
            split_speeds(c.value2, first[1], second[1]);
            split_speeds(c.value3, first[2], second[2]);
            const int64_t types = c.value4;
            indicators.add_fields("indicatori_vmax",
                                  {std::to_string(object_position_m(cell)), first[0], first[1], first[2],
                                   std::to_string(types / 10), second[0], second[1], second[2],
                                   std::to_string(types % 10)});
        } else if (c.kind == tratta::kind_sign_board) {
            if (!boards.emplace(c.value, cell).second)
                out.notes.push_back("due cartelli indicatori rimandano allo stesso testo, il record " +
                                    std::to_string(c.value));
        }
    }
    indicators.write(out.line, "[cartelli]");
    // Boards take their text's record from 80 down, in the order of their lines.
    SourceColumns signs;
    int expected = ScenarioRecords::first_board_slot;
    // Board texts whose board no cell shows stood under a station's stop.
    for (int slot = ScenarioRecords::first_board_slot; slot >= 1 && !stop_cells.empty(); --slot) {
        if (boards.contains(slot))
            continue;
        const bool text_record = !s.records[slot].text.empty() && s.records[slot].kind == 0 &&
                                 s.records[slot].at_m == 0 && s.records[slot].start_m == 0;
        const bool below_boards = !boards.empty() && slot > boards.begin()->first;
        if (!text_record && !below_boards)
            break;
        boards.emplace(slot, stop_cells.back());
        stop_cells.pop_back();
    }
    for (auto it = boards.rbegin(); it != boards.rend(); ++it, --expected) {
        const auto& [slot, cell] = *it;
        if (slot != expected || slot < 1 || slot > ScenarioRecords::first_board_slot) {
            out.notes.push_back("il cartello indicatore della cella " + std::to_string(cell) + " rimanda al record " +
                                std::to_string(slot) + ", non al " + std::to_string(expected) +
                                " che la sua riga prenderebbe");
            if (slot < 1 || slot > ScenarioRecords::first_board_slot)
                continue;
        }
        std::string field;
        if (!text_field(s.records[slot].text, field))
            out.notes.push_back("il testo del cartello del record " + std::to_string(slot) +
                                " non si può scrivere in una riga");
        signs.add("cartello_indicatore", {object_position_m(cell)}, field, true);
    }
    signs.write(out.line, "[indicazioni]");
}

} // namespace

void rebuild_line_file(const LoadedScenario& s, const std::vector<RouteCell>& cells, RebuiltSources& out)
{
    general_section(s.records, out);
    curve_section(s, out);
    gradient_section(cells, out);
    mountain_section(cells, s.records[ScenarioRecords::train_header].end_m, out);
    board_sections(s, cells, out);
    out.line += "[fine]\r\n";
}

} // namespace autore
