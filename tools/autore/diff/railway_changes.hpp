#pragma once
// What changed on the railway between two versions of a scenario, in the
// author's words and in order along the route: stations added, removed,
// moved or retimed; objects in the grid added, removed or changed; the
// profiles and the plan of the track as the stretches where they differ; the
// header values.

#include "autore/diff/railway_side.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autore {

struct RailwayChange {
    std::optional<int64_t> at_m; // where along the route; none for a header value
    std::optional<int64_t> km_m; // the official kilometre there, in metres
    std::string what;            // "stazione", "segnale", "pendenza", "intestazione"...
    std::string change;          // "aggiunto", "tolto", "spostato", "orario", "cambiato"
    std::string text;            // the change in one line
};

// The changes from a to b, header values first, then along the route. Only
// the parts both sides hold are compared.
std::vector<RailwayChange> railway_changes(const RailwaySide& a, const RailwaySide& b);

} // namespace autore
