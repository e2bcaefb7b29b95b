#pragma once
// The tables' fields by name, in their order on disk, for showing a compiled
// scenario to its author as text or JSON.

#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace autore {

struct NamedValue {
    std::string_view name;
    int64_t value;
};

// Every numeric field of a record (all but `text`) in file order.
std::vector<NamedValue> record_fields(const tratta::ScenarioRecord& r);

// Every field of a cell in file order.
std::vector<NamedValue> cell_fields(const tratta::RouteCell& c);

// What a cell's kind means on the route, in the program's language.
std::string_view kind_name(uint8_t kind);

} // namespace autore
