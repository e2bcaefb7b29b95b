#pragma once
// What a picture of a compiled scenario shows, gathered from its tables: the
// track plan (thinned out), the stations, signals, sign boards, speed
// indicators and slowdowns at their chainages, the mountain sides, the
// official kilometre, and the gradient, speed limit and adhesion along the route.

#include "autore/route/official_km.hpp"
#include "model/decoded_line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autore {

struct PlanPoint {
    double x = 0; // metres, plan coordinates of the track
    double y = 0;
    int64_t m = 0; // the route metre it stands at
};

struct RouteMark {
    int64_t at_m = 0;                 // chainage along the route
    std::optional<PlanPoint> plan;    // where it stands on the plan, when there is one
    std::string label;                // station name or board text, UTF-8
};

// A stretch along a mountain side: the cells' `side` code, and the track along it.
struct SideStretch {
    int64_t start_m = 0;
    int64_t end_m = 0;
    int side = 0;
    std::vector<PlanPoint> plan; // empty without a line table
};

struct Slowdown {
    int64_t start_m = 0;
    int64_t end_m = 0;
    int speed_kmh = 0;
};

struct RouteData {
    std::string scenario; // UTF-8
    std::string train;
    int64_t length_m = 0;              // the route length L
    std::vector<PlanPoint> plan;       // the track from 0 to L, thinned out; empty without a line table
    std::vector<PlanPoint> run_out;    // the first stretch of track beyond L
    std::vector<RouteMark> stations;
    std::vector<RouteMark> signals;
    std::vector<RouteMark> boards;
    std::vector<RouteMark> indicators;       // label: the speeds shown, "85/90/95"
    std::vector<RouteMark> mountain_markers; // the markers of a mountain side (kind 11)
    std::vector<SideStretch> sides;
    std::vector<Slowdown> slowdowns;
    std::vector<Chainage> chainages; // the official kilometre counts
    // One value per 50 m cell from 0 to L: gradient (per mille), limit (km/h), adhesion.
    std::vector<int> gradient;
    std::vector<int> speed_kmh;
    std::vector<int> adhesion;
};

// The chainage of the object held in cell `index`, as its source line gives
// it: signals, slowdown start, end and warning point, speed indicators and
// sign boards stand one cell beyond the cell of their position; the other
// kinds in the cell that holds it.
int64_t object_at_m(uint8_t kind, std::size_t index);

// The slowdowns of the grid: each start cell with the first end cell after it
// that carries the same speed (or, failing that, the first free end after it);
// a start without an end is left out.
std::vector<Slowdown> slowdowns_of(const std::vector<tratta::RouteCell>& cells);

// A record that holds only a sign board's text (a station always has a kind
// or a zone of its own): never a station, even when the board lost its cell.
bool is_board_text_record(const tratta::ScenarioRecord& record);

// The records that hold the stations of the train run: from record 1 up,
// those that hold something and are no sign board's text. A record whose
// line the compile refused at its position (beyond the grid, off the 50 m
// grid) holds no zone and no name: it is no station of the run.
std::vector<int> station_records(const tratta::ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells);

// How many points the route's picture thins the whole track out to.
inline constexpr std::size_t picture_plan_points = 2000;

// The track of the route's picture: from 0 to the route length L thinned out
// to about plan_points, and the first stretch of the run-out beyond L.
struct RouteTrack {
    std::vector<PlanPoint> plan;
    std::vector<PlanPoint> run_out;
};
RouteTrack route_track(const tratta::DecodedLineProfile& table, int64_t length_m, std::size_t plan_points);

// line_table may be null (compiled without one); plan_points bounds the track's points.
RouteData gather_route(const tratta::ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                       const tratta::DecodedLineProfile* line_table, std::size_t plan_points);

} // namespace autore
