#pragma once
// Each object of a compiled scenario told in words for its author: what it
// is, a short label to draw beside it, and its values one by one.

#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace autore {

struct ObjectWords {
    std::string name;               // what it is: "segnale", "indicatore di velocità"...
    std::string label;              // short text beside its mark, may be empty
    std::vector<std::string> words; // its values, one line each (UTF-8)
};

// The object in a cell whose kind is not 0; board texts and station names come from the records.
ObjectWords describe_cell(const tratta::RouteCell& cell, std::size_t index, const tratta::ScenarioRecords& records);

// A station of the train run held in record `index`.
ObjectWords describe_station(const tratta::ScenarioRecord& station, int index);

// Seconds of the day as "19:35:20"; 0 means no time was given and gives "".
std::string time_of_day(int32_t seconds);

// A board text without its brackets: "(  Cippo  )(Km 28+000)" gives "Cippo · Km 28+000".
std::string board_label(const std::string& utf8_text);

} // namespace autore
