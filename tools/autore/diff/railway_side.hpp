#pragma once
// One side of a comparison: what a scenario holds, read from whatever the
// author names: a folder of compiled files, the compiled files, one of them
// alone (as git hands a diff driver one file at a time), or the two sources
// (compiled in memory). A side read from one file has only that file's part.

#include "model/decoded_line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace autore {

struct RailwaySide {
    std::string label; // how the messages name this side
    std::optional<tratta::ScenarioRecords> records;
    std::optional<std::vector<tratta::RouteCell>> cells;
    std::optional<tratta::DecodedLineProfile> plan;
};

// Reads one side. `named_as` is the file's name in the author's repository
// when the file itself is a temporary copy (git's diff driver), else empty.
// A side that cannot be read is a DiffTrouble naming the file.
RailwaySide read_side(const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& named_as = {});

class DiffTrouble : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace autore
