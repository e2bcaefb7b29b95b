#pragma once
// A source file line by line, each line's fields read by the compile's own
// field reader (a key, then its values as its field list says, within the line).
// Where the compile stopped reading, this still tells what each line is:
// the outline, completion and the hovers of the lines after a stopping
// error read it.

#include "model/source_places.hpp"
#include "source/field_trace.hpp"
#include "source/key_fields.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace autore::lsp {

struct LineField {
    int32_t column = 0; // 1-based, in the line's bytes
    int32_t end_column = 0;
    std::string_view token; // as written; a text without its quotes
};

struct SourceLine {
    int32_t number = 0;                 // 1-based
    tratta::TracePart part = tratta::TracePart::preamble;
    bool header = false;                // a section header such as "[segnali]"
    const tratta::KeySpec* key = nullptr; // the line kind, when its first field names one
    std::vector<LineField> fields;      // the first field, then the key's values found on the line
    std::string_view text;              // the line without its line end
};

// Every line of a source (Windows-1252 bytes).
std::vector<SourceLine> scan_source(std::string_view bytes, tratta::SourceFile file);

// The field of a line that holds a column (or ends right before it); -1 for none.
int field_under(const SourceLine& line, int32_t column);

} // namespace autore::lsp
