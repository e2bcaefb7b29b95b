#pragma once
// The keys of the two source files and the fields that follow each key, in
// order, with the width each is read into. The readers read their fields
// through these lists, so a failed read can name the field it broke; the
// authoring tool's diagnostics, hovers and format reference read them too,
// the reference also what each field may hold, what an empty field gives and
// what each becomes in the binary files.

#include <cstdint>
#include <span>
#include <string_view>

namespace tratta {

enum class FieldWidth : uint8_t { i32, i16, u8, text };

struct FieldSpec {
    std::string_view name;    // in the author's words: "posizione", "velocità"
    FieldWidth width;
    std::string_view unit;    // "m", "km/h", or empty
    std::string_view meaning; // what the field does, one line
    std::string_view range;   // what it may hold beyond its width, and what a value outside does
    std::string_view if_empty; // what an empty field gives (or the line left out, for a one-line key)
    std::string_view becomes; // where it goes in the binary files, by their field names
};

struct KeySpec {
    std::string_view key;     // the key as the template writes it: "segnale"
    std::string_view section; // the section the template writes it under: "[segnali]"
    std::string_view meaning; // what the line is on the railway, one line
    std::span<const FieldSpec> fields;
    std::string_view example; // a line as the template writes it
    std::string_view lines;   // how many lines of the key a file holds, and in what order
};

// The widest and narrowest whole number a width holds.
int64_t width_min(FieldWidth w);
int64_t width_max(FieldWidth w);
std::string_view width_name(FieldWidth w); // "32 bit", "16 bit", "8 bit senza segno", "testo"

} // namespace tratta
