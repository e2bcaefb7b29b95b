#pragma once
// Boards beside the track: speed indicators, which pack their speeds into the
// four values of their cell, and sign boards, whose texts fill the scenario
// records from record 80 downward.

#include <cstdint>

namespace tratta {

struct RunState;

// The fields of a speed indicator line after its position.
struct SpeedIndicator {
    int32_t speed1 = 0;
    int32_t speed2 = 0;
    int32_t speed3 = 0;
    int32_t type1 = 0;
    int32_t speed4 = 0;
    int32_t speed5 = 0;
    int32_t speed6 = 0;
    int32_t type2 = 0;
};

// Places a speed indicator in the cell after its position, or records error
// 21 with the position and returns false when that cell is taken. A packed
// speed outside the 16-bit range is a ReadFailure; the fields stored before
// it stay.
bool memo_indicatori_v_max(RunState& state, int32_t position_m, const SpeedIndicator& board);

// Places a sign board showing work_text in the cell after its position and
// its text in record board_slot, then lowers the slot. Records error 6 (cell
// taken) or 28 (no free record left) with the position and returns false.
bool place_sign_board(RunState& state, int32_t position_m, int32_t& board_slot);

} // namespace tratta
