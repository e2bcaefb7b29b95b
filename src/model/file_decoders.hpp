#pragma once
// Reading the three binary files back into the tables they were written from,
// the inverse of the encoders: for the authoring tool, which shows scenarios
// to their authors, and for checking that a file holds what was compiled.
// Every length is checked; a file of the wrong size or layout is a LayoutError.

#include "model/byte_reader.hpp"
#include "model/decoded_line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <string_view>
#include <vector>

namespace tratta {

// A ".sim" file: exactly 87 records, the last one ending at the last byte.
ScenarioRecords decode_scenario_records(std::string_view bytes);

// A ".dat" file: one or more cells of 15 bytes, nothing else.
std::vector<RouteCell> decode_route_cells(std::string_view bytes);

// A "_linea.dat" file: tagged elements (tags 0, 2 and 5 only), all x then all
// y, so the elements split into two halves of equal length.
DecodedLineProfile decode_line_profile(std::string_view bytes);

} // namespace tratta
