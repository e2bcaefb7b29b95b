#pragma once
// What stands in a cell of the route grid, in the author's words.

#include <cstdint>
#include <string_view>

namespace autore {

// "un segnale", "l'inizio di un rallentamento", ...: the object of a cell kind.
std::string_view object_phrase(uint8_t kind);

} // namespace autore
