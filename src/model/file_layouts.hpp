#pragma once
// The fields of a route cell and of a scenario record, spelt once: their
// order, place and width on disk and what they hold. The file writers, the
// readers of the files, the authoring tool's dump and the format reference all
// go through these lists, so a field cannot be written in one order and read
// in another.

#include "model/line_profile.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

namespace tratta {

struct LayoutField {
    std::string_view name;    // as the tables name it
    std::size_t offset;       // bytes from the start of the cell or record
    std::size_t width;        // bytes on disk; 0 for the record's text (2 + its length)
    bool after_text;          // a record field that stands after the text: its offset grows by the text's length
    std::string_view meaning; // what the field holds, in the author's words
};

inline constexpr std::array<LayoutField, 11> cell_layout{{
    {"kind", 0, 1, false, "tipo dell'oggetto nella cella (0 = nessuno)"},
    {"value", 1, 2, false, "valore principale dell'oggetto"},
    {"value2", 3, 2, false, "secondo valore dell'oggetto"},
    {"value3", 5, 2, false, "terzo valore dell'oggetto"},
    {"value4", 7, 2, false, "quarto valore dell'oggetto"},
    {"aux", 9, 1, false, "valore aggiuntivo del segnale"},
    {"approach", 10, 1, false, "numero di approccio prima di un segnale o di una fermata"},
    {"side", 11, 1, false, "lato della montagna nel tratto"},
    {"speed5", 12, 1, false, "velocità massima del tratto in unità di 5 km/h"},
    {"gradient", 13, 1, false, "pendenza del tratto più 100 (100 = piano)"},
    {"adhesion", 14, 1, false, "aderenza del tratto"},
}};

inline constexpr std::array<LayoutField, 16> record_layout{{
    {"kind", 0, 1, false, "tipo della stazione"},
    {"start_m", 1, 4, false, "inizio (m)"},
    {"end_m", 5, 4, false, "fine (m)"},
    {"at_m", 9, 4, false, "posizione (m)"},
    {"flag_a", 13, 1, false, "primo indicatore della stazione"},
    {"text", 14, 0, false, "testo: 2 byte di lunghezza n, poi n caratteri Windows-1252"},
    {"int_a", 16, 2, true, "primo valore del primo gruppo"},
    {"int_b", 18, 2, true, "secondo valore del primo gruppo"},
    {"int_c", 20, 2, true, "primo valore del secondo gruppo"},
    {"int_d", 22, 2, true, "secondo valore del secondo gruppo"},
    {"int_e", 24, 2, true, "terzo valore del secondo gruppo"},
    {"flag_b", 26, 1, true, "terzo valore del primo gruppo"},
    {"flag_c", 27, 1, true, "quarto indicatore della stazione"},
    {"flag_d", 28, 1, true, "terzo indicatore della stazione"},
    {"flag_e", 29, 1, true, "secondo indicatore della stazione"},
    {"time_s", 30, 4, true, "ora del giorno in secondi"},
}};

// One element of the line table file: a 2-byte tag naming what follows it.
struct ElementLayout {
    ProfileTag tag;
    std::size_t bytes;        // the whole element, tag included
    std::string_view value;   // what follows the tag
    std::string_view meaning; // which metres hold it
};

inline constexpr std::array<ElementLayout, 3> line_element_layout{{
    {ProfileTag::empty, 2, "nulla", "i due ultimi metri di ogni coordinata, che la pianta non raggiunge"},
    {ProfileTag::int16, 4, "intero a 16 bit con segno", "i metri 0 e 1: la pianta parte da (0, 0) e passa per (0, 1)"},
    {ProfileTag::real, 10, "reale a 64 bit (IEEE 754)", "ogni altro metro: la coordinata in metri"},
}};

// The bytes of an element with this tag.
constexpr std::size_t element_bytes(ProfileTag tag)
{
    for (const auto& e : line_element_layout)
        if (e.tag == tag)
            return e.bytes;
    return 0;
}

// Visits every field of a cell in its order on disk: visit(layout field, the
// member). Works on a const cell for writing and on a cell for reading back.
template <typename Cell, typename Visit>
void for_each_field(Cell& c, Visit&& visit)
    requires std::is_same_v<std::remove_const_t<Cell>, RouteCell>
{
    visit(cell_layout[0], c.kind);
    visit(cell_layout[1], c.value);
    visit(cell_layout[2], c.value2);
    visit(cell_layout[3], c.value3);
    visit(cell_layout[4], c.value4);
    visit(cell_layout[5], c.aux);
    visit(cell_layout[6], c.approach);
    visit(cell_layout[7], c.side);
    visit(cell_layout[8], c.speed5);
    visit(cell_layout[9], c.gradient);
    visit(cell_layout[10], c.adhesion);
}

// The same for a scenario record; the text member is a std::string.
template <typename Record, typename Visit>
void for_each_field(Record& r, Visit&& visit)
    requires std::is_same_v<std::remove_const_t<Record>, ScenarioRecord>
{
    visit(record_layout[0], r.kind);
    visit(record_layout[1], r.start_m);
    visit(record_layout[2], r.end_m);
    visit(record_layout[3], r.at_m);
    visit(record_layout[4], r.flag_a);
    visit(record_layout[5], r.text);
    visit(record_layout[6], r.int_a);
    visit(record_layout[7], r.int_b);
    visit(record_layout[8], r.int_c);
    visit(record_layout[9], r.int_d);
    visit(record_layout[10], r.int_e);
    visit(record_layout[11], r.flag_b);
    visit(record_layout[12], r.flag_c);
    visit(record_layout[13], r.flag_d);
    visit(record_layout[14], r.flag_e);
    visit(record_layout[15], r.time_s);
}

} // namespace tratta
