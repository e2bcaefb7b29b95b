#pragma once
// Whether the timetable of the train file can be kept, and the time at every
// station, as a timetable planner works them out: the stations that have a
// time are fixed points; between two of them the shortest running time is
// worked out, and what the timetable allows beyond it is the recovery margin,
// spread over the stretches in proportion to their running times.
//
// Where the train stops: at the first and the last station, and at every
// station that can be stopped at (a kind below 25, which has a stop cell)
// when the train file marks it as a stop (its second flag) or gives it a
// time. Kinds 25 and above (junctions, points without a platform) are passed.
// At an intermediate stop the train stands for the dwell time, and the time
// of a stop is its departure; the last station's time is the arrival.

#include "autore/diagnostics/diagnostic.hpp"
#include "autore/route/document_data.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

// Acceleration of a locomotive-hauled passenger train from a stand.
inline constexpr double default_accel_ms2 = 0.3;
// Service braking of a passenger train per 100 % of braked mass.
inline constexpr double decel_per_100_pct_ms2 = 0.5;
// The shortest stop a passenger train makes.
inline constexpr double default_dwell_s = 60;

struct TrainDynamics {
    double accel_ms2 = default_accel_ms2;
    std::optional<double> decel_ms2; // none: from the braked-mass percentage
    double dwell_s = default_dwell_s;
};

// The service braking rate of a train with this braked-mass percentage:
// proportional to it, 0.5 m/s² at 100 %; 0 when the percentage is not above 0.
double braking_deceleration(int32_t braked_mass_pct);

struct StationRef {
    std::string name;        // Windows-1252
    int32_t source_line = 0; // its line in the train file; 0 when not known
};

// One thing wrong with the timetable. The codes are stable:
// "orario-non-rispettabile" (warning): a leg shorter than the shortest time;
// "orario-non-crescente" (error): a time not after the one before it (a time
//   earlier than the one before is a run past midnight when the leg comes to
//   12 hours at most);
// "orario-non-valido" (error): a time that is no time of day;
// "stazione-fuori-ordine" (error): a station not further along than the one before;
// "limite-nullo" (error): a stretch of the run with a limit of 0 km/h;
// "frenatura-mancante" (error): no braked-mass percentage, so no braking rate;
// "orario-insufficiente" (warning): fewer than two stations with a time.
struct Finding {
    Severity severity = Severity::error;
    std::string code;
    std::string message; // Italian, UTF-8
    std::vector<StationRef> stations;
};

// The plan at one station of the train file.
struct StationPlan {
    bool in_run = false; // in order along the line
    bool stops = false;
    std::optional<double> running_s; // shortest running time from the station before in the run
    std::optional<double> time_s;    // its time (departure at a stop), seconds counted on past midnight
    std::optional<double> margin_s;  // recovery margin of the stretch that ends here
};

// A leg between two stations with a time, indices into the stations.
struct Leg {
    std::size_t from = 0;
    std::size_t to = 0;
    int32_t scheduled_s = 0;          // what the timetable allows; 0 when the times do not increase
    std::optional<double> shortest_s; // none when it cannot be worked out
};

struct TimetablePlan {
    double accel_ms2 = 0;
    double decel_ms2 = 0;
    double dwell_s = 0;
    std::vector<StationPlan> stations; // one per station of the data, in the same order
    std::vector<Leg> legs;
    std::vector<Finding> findings;
};

TimetablePlan plan_timetable(const DocumentData& data, const TrainDynamics& dynamics);

// The timetable of a compiled scenario's train with the usual rates, as the
// check and the route page see it: the stations of the run stand in records 1
// up (plan.stations[k] is record k + 1). The train file's text gives each
// station its line; without it (empty) no line is known.
struct ScenarioTimetable {
    DocumentData data;
    TimetablePlan plan;
};
ScenarioTimetable scenario_timetable(const tratta::ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                                     std::string_view train_source);

// A finding in the one form of every diagnostic: at the train file's line of
// the first station it concerns, the other stations beside it.
Diagnostic finding_diagnostic(const Finding& finding);

} // namespace autore
