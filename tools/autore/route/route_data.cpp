#include "autore/route/route_data.hpp"

#include "autore/route/speed_indicator.hpp"
#include "model/code_page.hpp"

#include <algorithm>
#include <set>

namespace autore {

namespace {

using tratta::ScenarioRecords;

std::optional<PlanPoint> plan_at(const tratta::DecodedLineProfile* table, int64_t m)
{
    if (table == nullptr || !table->contains(m) || table->tag(m, 0) == tratta::ProfileTag::empty ||
        table->tag(m, 1) == tratta::ProfileTag::empty)
        return std::nullopt;
    return PlanPoint{table->get(m, 0), table->get(m, 1), m};
}

void thin_out(const tratta::DecodedLineProfile& table, int64_t from_m, int64_t to_m, std::size_t points,
              std::vector<PlanPoint>& out)
{
    if (to_m <= from_m)
        return;
    const int64_t step = std::max<int64_t>(1, (to_m - from_m) / static_cast<int64_t>(std::max<std::size_t>(points, 1)));
    for (int64_t m = from_m;; m += step) {
        const int64_t at = std::min(m, to_m);
        if (const auto p = plan_at(&table, at))
            out.push_back(*p);
        if (at == to_m)
            break;
    }
}

} // namespace

int64_t object_at_m(uint8_t kind, std::size_t index)
{
    const auto cell = static_cast<int64_t>(index);
    switch (kind) {
    case tratta::kind_signal:
    case tratta::kind_slowdown_end:
    case tratta::kind_slowdown_start:
    case tratta::kind_slowdown_warning:
    case tratta::kind_speed_indicator:
    case tratta::kind_sign_board: return (cell - 1) * 50;
    default: return cell * 50;
    }
}

std::vector<Slowdown> slowdowns_of(const std::vector<tratta::RouteCell>& cells)
{
    std::vector<Slowdown> out;
    std::vector<bool> taken(cells.size(), false);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].kind != tratta::kind_slowdown_start)
            continue;
        // Two slowdowns may overlap: an end belongs to the start of its own speed.
        std::size_t end = cells.size();
        for (std::size_t e = i + 1; e < cells.size() && end == cells.size(); ++e)
            if (cells[e].kind == tratta::kind_slowdown_end && !taken[e] && cells[e].value == cells[i].value)
                end = e;
        for (std::size_t e = i + 1; e < cells.size() && end == cells.size(); ++e)
            if (cells[e].kind == tratta::kind_slowdown_end && !taken[e])
                end = e;
        if (end == cells.size())
            continue;
        taken[end] = true;
        out.push_back({object_at_m(tratta::kind_slowdown_start, i), object_at_m(tratta::kind_slowdown_end, end),
                       cells[i].value});
    }
    return out;
}

namespace {

bool refused_station(const tratta::ScenarioRecord& r) { return r.start_m == 0 && r.end_m == 0 && r.text.empty(); }

} // namespace

bool is_board_text_record(const tratta::ScenarioRecord& record)
{
    tratta::ScenarioRecord bare;
    bare.text = record.text;
    return record == bare;
}

std::vector<int> station_records(const ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells)
{
    std::set<int> board_records;
    for (const auto& c : cells)
        if (c.kind == tratta::kind_sign_board && c.value >= 1 && c.value < ScenarioRecords::count)
            board_records.insert(c.value);
    std::vector<int> out;
    for (int r = 1; r <= ScenarioRecords::first_board_slot; ++r)
        if (board_records.count(r) == 0 && !is_board_text_record(records[r]) && !refused_station(records[r]))
            out.push_back(r);
    return out;
}

RouteTrack route_track(const tratta::DecodedLineProfile& table, int64_t length_m, std::size_t plan_points)
{
    RouteTrack t;
    if (!table.exists())
        return t;
    const int64_t end = std::min(length_m, table.last_m());
    thin_out(table, 0, end, plan_points, t.plan);
    // Only the first stretch of the run-out beyond the end: on a short route
    // the whole 7 km would take the picture over.
    const int64_t stub = std::max<int64_t>(300, length_m / 20);
    thin_out(table, end, std::min(table.last_m(), end + stub), std::max<std::size_t>(plan_points / 20, 2), t.run_out);
    return t;
}

RouteData gather_route(const ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                       const tratta::DecodedLineProfile* table, std::size_t plan_points)
{
    RouteData d;
    d.scenario = tratta::cp1252_to_utf8(records[ScenarioRecords::scenario_header].text);
    d.train = tratta::cp1252_to_utf8(records[ScenarioRecords::run_header].text);
    d.length_m = std::max<int64_t>(0, records[ScenarioRecords::train_header].end_m);

    if (table != nullptr && table->exists()) {
        RouteTrack track = route_track(*table, d.length_m, plan_points);
        d.plan = std::move(track.plan);
        d.run_out = std::move(track.run_out);
    }

    // Cells: signals, boards (their texts live in records), indicators, mountain markers.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& c = cells[i];
        const int64_t at = object_at_m(c.kind, i);
        if (c.kind == tratta::kind_signal) {
            d.signals.push_back({at, plan_at(table, at), {}});
        } else if (c.kind == tratta::kind_sign_board) {
            std::string text;
            if (c.value >= 1 && c.value < ScenarioRecords::count)
                text = tratta::cp1252_to_utf8(records[c.value].text);
            d.boards.push_back({at, plan_at(table, at), text});
        } else if (c.kind == tratta::kind_speed_indicator) {
            d.indicators.push_back({at, plan_at(table, at), indicator_label(decode_speed_indicator(c))});
        } else if (c.kind == tratta::kind_mountain_marker) {
            d.mountain_markers.push_back({at, plan_at(table, at), {}});
        }
    }
    d.slowdowns = slowdowns_of(cells);

    for (const int r : station_records(records, cells)) {
        const auto& rec = records[r];
        d.stations.push_back({rec.at_m, plan_at(table, rec.at_m), tratta::cp1252_to_utf8(rec.text)});
    }

    // Mountain sides: runs of cells with the same side code, along the route itself.
    const std::size_t route_cells = std::min(cells.size(), static_cast<std::size_t>(d.length_m / 50 + 1));
    for (std::size_t i = 0; i < route_cells; ++i) {
        const int side = cells[i].side;
        if (side == 0)
            continue;
        if (d.sides.empty() || d.sides.back().side != side || d.sides.back().end_m != static_cast<int64_t>(i) * 50)
            d.sides.push_back({static_cast<int64_t>(i) * 50, static_cast<int64_t>(i) * 50, side, {}});
        d.sides.back().end_m = static_cast<int64_t>(i + 1) * 50;
    }
    if (table != nullptr && table->exists())
        for (auto& stretch : d.sides)
            thin_out(*table, stretch.start_m, std::min(stretch.end_m, table->last_m()), 40, stretch.plan);
    d.chainages = chainages_of(records);

    // The stretch properties of every cell along the route itself.
    for (std::size_t i = 0; i < route_cells; ++i) {
        d.gradient.push_back(static_cast<int>(cells[i].gradient) - 100);
        d.speed_kmh.push_back(cells[i].speed5 * 5);
        d.adhesion.push_back(cells[i].adhesion);
    }
    return d;
}

} // namespace autore
