#include "source/key_fields.hpp"

#include <limits>

namespace tratta {

int64_t width_min(FieldWidth w)
{
    switch (w) {
    case FieldWidth::i32: return std::numeric_limits<int32_t>::min();
    case FieldWidth::i16: return std::numeric_limits<int16_t>::min();
    case FieldWidth::u8: return 0;
    case FieldWidth::text: break;
    }
    return 0;
}

int64_t width_max(FieldWidth w)
{
    switch (w) {
    case FieldWidth::i32: return std::numeric_limits<int32_t>::max();
    case FieldWidth::i16: return std::numeric_limits<int16_t>::max();
    case FieldWidth::u8: return std::numeric_limits<uint8_t>::max();
    case FieldWidth::text: break;
    }
    return 0;
}

std::string_view width_name(FieldWidth w)
{
    switch (w) {
    case FieldWidth::i32: return "numero a 32 bit";
    case FieldWidth::i16: return "numero a 16 bit";
    case FieldWidth::u8: return "numero a 8 bit senza segno";
    case FieldWidth::text: return "testo";
    }
    return "";
}

} // namespace tratta
