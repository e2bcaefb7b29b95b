#include "autore/route_page/view_data.hpp"

#include "autore/driver_documents/time_text.hpp"
#include "autore/driver_documents/timetable.hpp"
#include "autore/route/official_km.hpp"
#include "autore/route/route_colours.hpp"
#include "autore/route/route_data.hpp"
#include "autore/route/object_words.hpp"
#include "autore/route_page/plan_levels.hpp"
#include "autore/route_page/plan_windows.hpp"
#include "model/code_page.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace autore {

namespace {

using json = nlohmann::ordered_json;
using tratta::RouteCell;
using tratta::ScenarioRecords;

constexpr int64_t cell_m = 50;

// The sources of the objects, looked up by table and index.
class SourceIndex {
public:
    explicit SourceIndex(const std::vector<ObjectSource>& sources)
    {
        for (const ObjectSource& s : sources)
            places_.emplace(std::pair{s.table, s.index}, &s.place);
    }
    const SourceLine* find(ObjectSource::Table table, int64_t index) const
    {
        const auto at = places_.find({table, index});
        return at == places_.end() ? nullptr : at->second;
    }

private:
    std::map<std::pair<ObjectSource::Table, int64_t>, const SourceLine*> places_;
};

json place_json(const SourceLine& p)
{
    json j = {{"file", p.file}, {"line", p.line}};
    if (p.column > 0)
        j["column"] = p.column;
    return j;
}

void add_source(json& object, const SourceLine* place)
{
    if (place != nullptr)
        object["source"] = place_json(*place);
}

const char* layer_of(uint8_t kind)
{
    switch (kind) {
    case tratta::kind_signal: return "signals";
    case tratta::kind_slowdown_end:
    case tratta::kind_slowdown_start:
    case tratta::kind_slowdown_warning:
    case tratta::kind_slowdown_marker: return "slowdowns";
    case tratta::kind_speed_indicator: return "indicators";
    case tratta::kind_station_stop: return "stations";
    case tratta::kind_mountain_marker: return "mountains";
    case tratta::kind_code_point:
    case tratta::kind_code_point_plain: return "codes";
    case tratta::kind_sign_board: return "boards";
    default: return "other";
    }
}

// The readers fill the stretch values (gradient, speed limit, adhesion) up to
// cell N - 3; the last two cells of the run-out hold none.
std::size_t profile_cells(const std::vector<RouteCell>& cells) { return cells.size() >= 3 ? cells.size() - 3 : cells.size(); }

// Stretches of equal value, each from the chainage where it starts.
template <typename Value>
json runs(const std::vector<RouteCell>& cells, Value value)
{
    json out = json::array();
    for (std::size_t i = 0; i < profile_cells(cells); ++i) {
        const int v = value(cells[i]);
        if (i == 0 || v != value(cells[i - 1]))
            out.push_back({static_cast<int64_t>(i) * cell_m, v});
    }
    return out;
}

// Where each kilometre count holds along the route; on a stretch the official
// kilometre is km_m at from_m, growing or (falling) shrinking metre by metre.
json official_km_json(const std::vector<Chainage>& chainages, int64_t end_m)
{
    std::vector<int64_t> starts{0};
    for (const Chainage& c : chainages)
        if (c.start_m > 0 && c.start_m < end_m)
            starts.push_back(c.start_m);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    json out = json::array();
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int64_t from = starts[i];
        const int64_t to = i + 1 < starts.size() ? starts[i + 1] : end_m;
        const bool falling = official_km_m(chainages, from + 1) < official_km_m(chainages, from);
        out.push_back({{"from_m", from}, {"to_m", to}, {"km_m", official_km_m(chainages, from)}, {"falling", falling}});
    }
    return out;
}

// The window sizes for the page: each window's frame as five whole numbers,
// its main direction (an angle from east towards north, in tenths of a
// milliradian), the middle of its reach less the track's point at the
// window's centre metre (east and north, metres), and half its reach along
// and across the direction (metres, rounded up).
json windows_json(const PlanWindows& windows, const std::vector<PlanVertex>& finest)
{
    json sizes = json::array();
    for (const WindowSize& size : windows.sizes) {
        json flat = json::array();
        for (std::size_t i = 0; i < size.frames.size(); ++i) {
            const PlanFrame& f = size.frames[i];
            const PlanDirection& d = f.direction;
            const double um = (f.u0 + f.u1) / 2;
            const double vm = (f.v0 + f.v1) / 2;
            const int64_t centre_m = static_cast<int64_t>(i) * size.step_m;
            const std::vector<PlanPoint> at = stretch_of(finest, centre_m, centre_m);
            const PlanPoint track = at.empty() ? PlanPoint{} : at.front();
            flat.push_back(std::llround(std::atan2(d.uy, d.ux) * 1e4));
            flat.push_back(std::llround(d.cx + um * d.ux - vm * d.uy - track.x));
            flat.push_back(std::llround(d.cy + um * d.uy + vm * d.ux - track.y));
            flat.push_back(whole_metres_up((f.u1 - f.u0) / 2));
            flat.push_back(whole_metres_up((f.v1 - f.v0) / 2));
        }
        sizes.push_back(
            {{"span_m", size.span_m}, {"step_m", size.step_m}, {"km_step_m", size.km_step_m}, {"frames", std::move(flat)}});
    }
    return {{"km_step_m", windows.km_step_m}, {"km", windows.km}, {"sizes", std::move(sizes)}};
}

// Each level as one flat list: metre, x and y in centimetres, point after point.
json plan_json(const tratta::DecodedLineProfile& table, int64_t length_m, const std::vector<Chainage>& chainages)
{
    const std::vector<PlanVertex> points = plan_vertices(table);
    if (points.size() < 2)
        return nullptr;
    const std::vector<PlanLevel> plan = plan_levels(points, plan_tolerances_m());
    json levels = json::array();
    for (const PlanLevel& level : plan) {
        json flat = json::array();
        for (const PlanVertex& p : level.points) {
            flat.push_back(p.m);
            flat.push_back(std::llround(p.x * 100));
            flat.push_back(std::llround(p.y * 100));
        }
        levels.push_back({{"tolerance_m", level.tolerance_m}, {"points", std::move(flat)}});
    }
    const PlanWindows windows =
        plan_windows(route_track(table, length_m, picture_plan_points), plan, chainages, length_m);
    return {{"route_end_m", std::min(length_m, points.back().m)}, {"last_m", points.back().m},
            {"levels", std::move(levels)}, {"windows", windows_json(windows, plan.front().points)}};
}

json words_json(const ObjectWords& w)
{
    return {{"name", w.name}, {"label", w.label}, {"words", w.words}};
}

json objects_json(const LoadedScenario& s, const std::vector<Chainage>& chainages, const SourceIndex& sources)
{
    json out = json::array();
    for (std::size_t i = 0; i < s.cells.size(); ++i) {
        const RouteCell& c = s.cells[i];
        if (c.kind == tratta::kind_none)
            continue;
        const int64_t at = object_at_m(c.kind, i);
        json o = {{"cell", i}, {"kind", c.kind}, {"layer", layer_of(c.kind)}, {"at_m", at},
                  {"km_m", official_km_m(chainages, at)}};
        o.update(words_json(describe_cell(c, i, s.records)));
        const SourceLine* place = sources.find(ObjectSource::Table::cell, static_cast<int64_t>(i));
        // A board's text and a stop cell's station live in records, which may know the line instead.
        if (place == nullptr && (c.kind == tratta::kind_sign_board || c.kind == tratta::kind_station_stop))
            place = sources.find(ObjectSource::Table::record, c.value);
        add_source(o, place);
        out.push_back(std::move(o));
    }
    return out;
}

json stations_json(const LoadedScenario& s, const std::vector<Chainage>& chainages, const SourceIndex& sources)
{
    std::map<int, int64_t> stops; // record -> chainage of its stop cell
    for (std::size_t i = 0; i < s.cells.size(); ++i)
        if (s.cells[i].kind == tratta::kind_station_stop)
            stops.emplace(s.cells[i].value, object_at_m(tratta::kind_station_stop, i));
    // The passing time that `timetable` works out for each station, by its record.
    const ScenarioTimetable timetable = scenario_timetable(s.records, s.cells, {});
    std::map<int, double> passing;
    for (std::size_t k = 0; k < timetable.plan.stations.size(); ++k)
        if (const auto& t = timetable.plan.stations[k].time_s; t && std::isfinite(*t))
            passing.emplace(timetable.data.stations[k].record, *t);
    json out = json::array();
    for (const int r : station_records(s.records, s.cells)) {
        const tratta::ScenarioRecord& rec = s.records[r];
        json st = {{"record", r},
                   {"name", tratta::cp1252_to_utf8(rec.text)},
                   {"kind", rec.kind},
                   {"at_m", rec.at_m},
                   {"km_m", official_km_m(chainages, rec.at_m)},
                   {"start_m", rec.start_m},
                   {"end_m", rec.end_m},
                   {"time_s", rec.time_s},
                   {"time", time_of_day(rec.time_s)}};
        if (const auto t = passing.find(r); t != passing.end()) {
            st["passing_s"] = half_minute(t->second);
            st["passing"] = clock_text(t->second);
        }
        if (const auto stop = stops.find(r); stop != stops.end())
            st["stop_m"] = stop->second;
        st["words"] = describe_station(rec, r).words;
        add_source(st, sources.find(ObjectSource::Table::record, r));
        out.push_back(std::move(st));
    }
    return out;
}

json slowdowns_json(const LoadedScenario& s, const SourceIndex& sources)
{
    json out = json::array();
    std::optional<int64_t> warning;
    for (std::size_t i = 0; i < s.cells.size(); ++i) {
        const RouteCell& c = s.cells[i];
        if (c.kind == tratta::kind_slowdown_warning)
            warning = object_at_m(c.kind, i);
        if (c.kind != tratta::kind_slowdown_start)
            continue;
        const int64_t start = object_at_m(c.kind, i);
        int64_t end = start;
        for (std::size_t e = i + 1; e < s.cells.size(); ++e)
            if (s.cells[e].kind == tratta::kind_slowdown_end) {
                end = object_at_m(s.cells[e].kind, e);
                break;
            }
        json sd = {{"start_m", start}, {"end_m", end}, {"speed_kmh", c.value}};
        if (c.value2 != 0)
            sd["second_speed_kmh"] = c.value2;
        // The warning point stands 1200 m before the start.
        if (warning && *warning == start - 1200)
            sd["warning_m"] = *warning;
        add_source(sd, sources.find(ObjectSource::Table::cell, static_cast<int64_t>(i)));
        out.push_back(std::move(sd));
    }
    return out;
}

json diagnostics_json(const std::vector<ViewDiagnostic>& diagnostics)
{
    json out = json::array();
    for (const ViewDiagnostic& d : diagnostics) {
        json j = {{"at_m", d.at_m ? json(*d.at_m) : json(nullptr)},
                  {"severity", d.severity == Severity::error ? "error" : "warning"},
                  {"code", d.code},
                  {"message", d.message}};
        if (!d.place.file.empty() || d.place.line > 0) {
            j["file"] = d.place.file;
            j["line"] = d.place.line;
            j["column"] = d.place.column;
        }
        out.push_back(std::move(j));
    }
    return out;
}

} // namespace

std::vector<double> plan_tolerances_m() { return {0.05, 0.25, 1, 4, 16, 64}; }

json view_plan(const LoadedScenario& s)
{
    const int64_t length_m = std::max<int64_t>(0, s.records[ScenarioRecords::train_header].end_m);
    return s.line_table ? plan_json(*s.line_table, length_m, chainages_of(s.records)) : json(nullptr);
}

json view_data(const LoadedScenario& s, const ViewExtras& extras) { return view_data(s, extras, view_plan(s)); }

json view_data(const LoadedScenario& s, const ViewExtras& extras, const json& plan)
{
    const SourceIndex sources(extras.object_sources);
    const std::vector<Chainage> chainages = chainages_of(s.records);
    const int64_t end_m = static_cast<int64_t>(s.cells.size()) * cell_m;
    const int64_t length_m = std::max<int64_t>(0, s.records[ScenarioRecords::train_header].end_m);

    json d;
    d["scenario"] = tratta::cp1252_to_utf8(s.records[ScenarioRecords::scenario_header].text);
    d["train"] = tratta::cp1252_to_utf8(s.records[ScenarioRecords::run_header].text);
    d["length_m"] = length_m;
    d["end_m"] = end_m;
    d["sources"] = extras.sources ? json{{"line_file", extras.sources->line_file},
                                         {"train_file", extras.sources->train_file}}
                                  : json(nullptr);
    d["official_km"] = official_km_json(chainages, end_m);
    d["plan"] = plan;
    d["profile"] = {{"cell_m", cell_m},
                    {"end_m", static_cast<int64_t>(profile_cells(s.cells)) * cell_m},
                    {"gradient", runs(s.cells, [](const RouteCell& c) { return int(c.gradient) - 100; })},
                    {"speed_kmh", runs(s.cells, [](const RouteCell& c) { return c.speed5 * 5; })},
                    {"adhesion", runs(s.cells, [](const RouteCell& c) { return int(c.adhesion); })},
                    {"side", runs(s.cells, [](const RouteCell& c) { return int(c.side); })}};
    d["stations"] = stations_json(s, chainages, sources);
    d["objects"] = objects_json(s, chainages, sources);
    d["slowdowns"] = slowdowns_json(s, sources);
    d["diagnostics"] = diagnostics_json(extras.diagnostics);
    json colours = json::object();
    for (const NamedColour& c : route_colours)
        colours[std::string(c.name)] = std::string(c.value);
    d["colours"] = std::move(colours);
    return d;
}

} // namespace autore
