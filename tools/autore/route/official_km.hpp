#pragma once
// The official kilometre count along the line: the chainage that the sign
// boards, the timetable sheet and the slowdown order use, worked out from the
// kilometre chainages of the line file as the compiled records hold them.

#include "model/scenario_records.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace autore {

// One kilometre chainage as the author wrote it: from route position start_m
// on, the kilometre is route position + offset (direction 0) or offset -
// route position (direction 1, a count that falls along the route).
struct Chainage {
    int64_t start_m = 0;
    int64_t offset_m = 0;
    int32_t direction = 0;
};

// The chainages held in records 81 to 83, earliest start first. A chainage
// that counts downwards is stored with 100 m added to its offset; the offset
// here is the one the author wrote. Records left empty are not chainages.
std::vector<Chainage> chainages_of(const tratta::ScenarioRecords& records);

// The chainage in force at a route position: the one with the latest start at
// or before it (of two with the same start, the later one); none before the
// first start.
const Chainage* chainage_in_force(const std::vector<Chainage>& chainages, int64_t route_m);

// The kilometre, in metres, that one chainage gives at a route position; with
// no chainage the count is the route position itself.
int64_t km_by(const Chainage* chainage, int64_t route_m);

// The official kilometre, in metres, at a route position: the count of the
// chainage in force there.
int64_t official_km_m(const std::vector<Chainage>& chainages, int64_t route_m);

// Metres as the railway writes a kilometre: "28.000", "-0.350".
std::string km_text(int64_t metres);

} // namespace autore
