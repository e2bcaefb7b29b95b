#pragma once
// The one table that says, in the program's language, what each error number
// means. Nothing else spells error messages.

#include <cstdint>
#include <string_view>

namespace tratta {

// One line in Italian (UTF-8); an unknown number gives "errore sconosciuto".
std::string_view error_meaning(int32_t code);

} // namespace tratta
