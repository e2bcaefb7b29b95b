#pragma once
// The data of the route page, as one JSON document: the scenario's names and
// length, the official kilometre along the route, the track plan at several
// levels of detail, the profile as runs of equal values, the stations with
// their times, every object of the route grid told in words with the source
// line it came from, the slowdowns and the diagnostics.

#include "autore/scenario_files/route_output.hpp"
#include "autore/route_page/view_extras.hpp"

#include <nlohmann/json.hpp>

#include <vector>

namespace autore {

// The levels of detail of the plan, finest first: the page draws the
// coarsest one that strays by less than half a pixel.
std::vector<double> plan_tolerances_m();

nlohmann::ordered_json view_data(const LoadedScenario& scenario, const ViewExtras& extras);

// The track plan's part of the data alone ("plan"): the most work on a long
// route, and the same as long as the line file and the route's length are.
nlohmann::ordered_json view_plan(const LoadedScenario& scenario);

// The data with the plan already made (view_plan of the same line table and length).
nlohmann::ordered_json view_data(const LoadedScenario& scenario, const ViewExtras& extras,
                                 const nlohmann::ordered_json& plan);

} // namespace autore
