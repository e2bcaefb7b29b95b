#pragma once
// Signals: the signal cell one beyond the cell of the position, carrying the
// signal's four values and its extra value, and four approach cells before it,
// every second cell, carrying an approach number.

#include <array>
#include <cstdint>

namespace tratta {

struct RunState;

// The eleven numbers of a "segnale" line, in line order.
struct SignalLine {
    int32_t position = 0;            // metres
    int32_t type = 0;                // type 2 keeps the extra value in the signal cell
    std::array<int32_t, 4> tens{};   // tens digits of the first to fourth value
    int32_t marker = 0;              // added to the fourth value and to the approach numbers
    std::array<int32_t, 3> units{};  // units digits of the first to third value
    int32_t extra = 0;               // 1 to 100 is raised to 101 (written back here)
};

// Places the signal, or records error 16 with the signal's position, writes
// nothing and returns false when its cell is taken by anything but a
// mountain-side marker.
bool memo_segnale(RunState& state, SignalLine& line);

} // namespace tratta
