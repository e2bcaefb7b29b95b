#pragma once
// What each field of a compiled file means to the scenario's author, and the
// key and fields of the source line it was made from. A cell's four values
// mean something different for each kind of object (a signal's digits, a
// speed indicator's speeds, a station's record...), a record's fields for each
// kind of record (a station, a board text, the header records). The fields
// are those of the layouts (model/file_layouts.hpp), named as they name them;
// the source fields are those of the key tables, by their place in the line.

#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"
#include "source/key_fields.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace autore {

// Where a value came from: a key of a source file and a rule over the fields
// of its line, each written {n} for the n-th field after the key ("{3} × 10 +
// {8}"). No key: the compile makes the value itself, and the rule says how.
struct FieldOrigin {
    const tratta::KeySpec* key = nullptr;
    std::string_view rule;
    std::string_view key_words = {}; // in place of the key, when several keys give the value
};

struct FieldMeaning {
    std::string_view field;   // the layout's name: "value", "start_m"
    std::string_view label;   // a few words for a line of the dump: "primo valore"
    std::string_view meaning; // what it holds, in a sentence
    FieldOrigin origin;
};

// A kind of object in a route cell.
struct KindMeaning {
    uint8_t kind = 0;
    const tratta::KeySpec* key = nullptr; // the source line the object comes from, if one
    std::string_view placement;           // which cell it takes
    // Back from the cell to the source: the position named by `source_what`
    // lies about (cell + cells_to_source) × 50 + metres_to_source metres
    // along the route. Empty source_what: no such position.
    std::string_view source_what;
    int cells_to_source = 0;
    int metres_to_source = 0;
    std::span<const FieldMeaning> fields; // the fields that hold the object's values
};

// The meaning of every kind that the compile places; nothing for another kind.
const KindMeaning* kind_meaning(uint8_t kind);
std::span<const KindMeaning> kind_meanings();

// The fields every cell has whatever its object: the stretch of track and
// the approach numbers.
std::span<const FieldMeaning> track_fields();

// The cell that carries the run's two stamps.
inline constexpr std::size_t stamp_cell = 1;
std::span<const FieldMeaning> stamp_cell_fields();

// The kinds of records of the .sim file.
enum class RecordRole { empty, station, board_text, chainage, train, scenario, run };

struct RoleMeaning {
    RecordRole role;
    std::string_view name; // "stazione"
    std::span<const FieldMeaning> fields;
};

// Which role a record plays: records 1 upward are stations, 80 downward the
// texts of the sign boards (a record that holds only a text), 81 to 86 the
// header; a record with nothing in it is empty.
RecordRole record_role(const tratta::ScenarioRecords& records, int index);
const RoleMeaning& role_meaning(RecordRole role);
std::span<const RoleMeaning> role_meanings();

// The meaning of one field in a list, or nothing.
const FieldMeaning* meaning_of(std::span<const FieldMeaning> fields, std::string_view field);

// The origin in words, the source fields named from the key table:
// "«segnale», «decine del primo valore» (campo 3) × 10 + «unità del primo valore» (campo 8)".
std::string origin_words(const FieldOrigin& origin);

// A chainage of decreasing kilometres is stored with 100 added to its offset.
inline constexpr int32_t decreasing_offset_added = 100;

} // namespace autore
