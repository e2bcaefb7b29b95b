#pragma once
// Helpers of the check's rules over the fields as the reader read them.

#include "source/field_trace.hpp"

#include <string>

namespace autore {

// "il campo «posizione» di «segnale»".
std::string field_words(const tratta::TracedField& value);

} // namespace autore
