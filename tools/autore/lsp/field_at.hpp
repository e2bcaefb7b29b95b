#pragma once
// The field under the editor's cursor: as the compile read it, where it did;
// else as the line reads on its own (the lines after an error that stopped
// the reading).

#include "autore/lsp/checked_pair.hpp"
#include "model/source_places.hpp"
#include "source/key_fields.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace autore::lsp {

struct FieldAt {
    const tratta::KeySpec* key = nullptr; // the line kind
    int index = -1;                       // -1: the key itself; else the value's place in the key's fields
    tratta::SourcePlace place;
    std::string token;            // as written (Windows-1252)
    std::optional<int64_t> value; // a number: the value it gives
    bool read = false;            // the compile read it (else the reading stopped before it)
    uint8_t matches = 0;          // a key the compile read: how many line kinds it was read as
};

// The field at a column (1-based) of a line of one source; `analysis` may be
// none (a document that was not compiled), `bytes` the source as it reads.
std::optional<FieldAt> field_at(const Analysis* analysis, std::string_view bytes, tratta::SourceFile file,
                                int32_t line, int32_t column);

// A field whose value is a place along the route, in metres (not a length).
bool is_position(const tratta::FieldSpec& field);

} // namespace autore::lsp
