#include "source/line/boards.hpp"

#include "app/run_state.hpp"
#include "model/nearest.hpp"
#include "source/field_reader.hpp"

#include <limits>

namespace tratta {

namespace {

// A speed in steps of 20, with a second speed in fifths on top of it.
int16_t packed_speeds(int32_t speed, int32_t extra_speed)
{
    const double packed = static_cast<double>(int64_t{speed} * 20) + static_cast<double>(extra_speed) / 5.0;
    const int64_t value = nearest(packed);
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw ReadFailure("velocità dell'indicatore fuori dai limiti del campo");
    return static_cast<int16_t>(value);
}

// The two types side by side, in the 16 bits of the field.
int16_t packed_types(int32_t type1, int32_t type2)
{
    const auto tens = static_cast<uint16_t>(static_cast<uint16_t>(type1) * 10u);
    return static_cast<int16_t>(static_cast<uint16_t>(tens + static_cast<uint16_t>(type2)));
}

} // namespace

void memo_indicatori_v_max(RunState& s, int32_t position_m, const SpeedIndicator& board)
{
    RouteCell& cell = s.cells.at(cell_after(position_m));
    if (!cell.free()) {
        segnala(s, 21);
        return;
    }
    cell.kind = kind_speed_indicator;
    cell.value = packed_speeds(board.speed1, board.speed4);
    cell.value2 = packed_speeds(board.speed2, board.speed5);
    cell.value3 = packed_speeds(board.speed3, board.speed6);
    cell.value4 = packed_types(board.type1, board.type2);
}

bool place_sign_board(RunState& s, int32_t position_m, int32_t& board_slot)
{
    RouteCell& cell = s.cells.at(cell_after(position_m));
    if (!cell.free()) {
        segnala(s, 6, position_m);
        return false;
    }
    if (board_slot < 1) {
        segnala(s, 28, position_m);
        return false;
    }
    cell.kind = kind_sign_board;
    cell.value = static_cast<int16_t>(board_slot);
    s.records[board_slot].text = s.work_text;
    --board_slot;
    return true;
}

} // namespace tratta
