#pragma once
// A compiled file shown to its author: the records with their fields, the
// cells with their kind named, the line table's extent and its points at a
// chosen step; as text to read or as JSON for other tools.

#include "autore/scenario_files/binary_files.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

namespace autore {

struct DumpOptions {
    std::optional<BinaryKind> kind; // absent: from the file's name
    bool json = false;
    std::optional<int64_t> step_m; // line table only: one point every so many metres (default 1000)
    bool objects_only = false;     // grid only: only cells that hold a point object
};

inline constexpr int64_t default_step_m = 1000;

// Writes the dump to out; returns the exit status (0, or 1 with a message on
// err: a file that is not a regular one, cannot be read or decoded, or an out
// that could not take the whole dump). An option that does not apply to the
// file's kind is a UsageError.
int dump_file(const std::filesystem::path& file, const DumpOptions& options, std::ostream& out,
              std::ostream& err);

nlohmann::ordered_json records_json(const tratta::ScenarioRecords& records);
nlohmann::ordered_json cells_json(const std::vector<tratta::RouteCell>& cells, bool objects_only);
nlohmann::ordered_json line_table_json(const tratta::DecodedLineProfile& table, int64_t step_m);

void records_text(const tratta::ScenarioRecords& records, std::ostream& out);
void cells_text(const std::vector<tratta::RouteCell>& cells, bool objects_only, std::ostream& out);
void line_table_text(const tratta::DecodedLineProfile& table, int64_t step_m, std::ostream& out);

// The metres shown for a line table: 0, step, 2 step, ... and always the last.
std::vector<int64_t> sample_metres(int64_t last_m, int64_t step_m);

} // namespace autore

namespace autore {

// What a line table holds, over both coordinates.
struct LineTableSummary {
    int64_t last_m = -1;
    std::size_t empty = 0;
    std::size_t whole = 0; // 16-bit whole numbers
    std::size_t real = 0;
    bool has_points = false; // some metre has both x and y set
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
};

LineTableSummary summarise(const tratta::DecodedLineProfile& table);

} // namespace autore
