#pragma once
// The kilometre chainages of the line: up to three rules that say, from a route
// position on, which kilometre the posts beside the track show.

#include "model/scenario_records.hpp"
#include "model/source_places.hpp"

#include <array>

namespace tratta {

// The line of the source file that each record was read from.
using RecordOrigins = std::array<SourcePlace, ScenarioRecords::count>;

// Puts the three chainages of records 81 to 83 in order, the latest start in
// record 81, and adds 100 m to the offset of every chainage whose kilometres
// fall along the route. An offset that would leave the 32-bit range is a
// ReadFailure.
void progressive_ordina(ScenarioRecords& records);
// The same, moving each chainage's source line along with it.
void progressive_ordina(ScenarioRecords& records, RecordOrigins& origins);

} // namespace tratta
