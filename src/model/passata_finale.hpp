#pragma once
// The finishing pass over the route grid: code points of value 180 before
// signals that stand shortly before a slowdown's warning point, before every
// slowdown start, every 400 m inside slow slowdowns and before the first signal
// after them.

#include <cstdint>

namespace tratta {

struct RunState;

// The code value of every code point the finishing pass places.
inline constexpr int16_t finishing_code = 180;

// The smaller of two code values; on a tie the first.
inline int32_t minimo(int32_t x, int32_t y) { return x > y ? y : x; }

void passata_finale(RunState& state);

} // namespace tratta
