#pragma once
// Every field a source reader read, as it read it: a key and the tests it
// matched, or a value with the key and field it belongs to, its token as
// written and the number it gave. Kept only when asked for, so that an
// author's diagnostics can say how each field was understood.

#include "model/source_places.hpp"
#include "source/key_fields.hpp"

#include <cstdint>
#include <string_view>
#include <deque>

namespace tratta {

// Where in its file the reader stood when it read a field.
enum class TracePart : uint8_t {
    preamble, // before the "[generale]" header, passed over
    general,  // the line file's general section
    body,     // the line file's body, or the train file
};

// The members are laid out largest first, so that no padding widens the
// record: a source of many short fields keeps one of these for each.
struct TracedField {
    enum class Role : uint8_t { key, number, text };
    SourcePlace place;
    std::string_view token;      // the field as written (a text field: its value)
    int64_t value = 0;           // a number: the value it gave, before any width check
    const KeySpec* key = nullptr; // a key: the last line kind it was read as (none: it matched nothing);
                                  // a value: the key it belongs to
    Role role = Role::key;
    TracePart part = TracePart::preamble;
    uint8_t index = 0;           // a value: its place in the key's field list
    uint8_t matches = 0;         // a key: how many line kinds it was read as
};

// The fields in the order read. Kept in blocks that never move: the trace
// grows without copying itself or holding room it does not use, and a trace
// let go leaves blocks that the next reading takes up again.
using TracedFields = std::deque<TracedField>;

struct FieldTrace {
    TracedFields fields;
};

} // namespace tratta
