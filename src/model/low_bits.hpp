#pragma once
// Values that the grid stores cut to their low bits: a signal's or a
// slowdown's values keep their low 16 bits, an adhesion or an approach number
// its low 8 bits, whatever the source line held.

#include <cstdint>

namespace tratta {

inline int16_t low16(int64_t v)
{
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFFu));
}

inline uint8_t low8(int64_t v)
{
    return static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFFu);
}

} // namespace tratta
