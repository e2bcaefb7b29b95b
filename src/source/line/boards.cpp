#include "source/line/boards.hpp"

#include "model/run_state.hpp"
#include "model/nearest.hpp"
#include "source/field_reader.hpp"

#include <string>
#include <utility>

namespace tratta {

namespace {

// A speed in steps of 20, with a second speed in fifths on top of it.
int16_t packed_speeds(const RunState& s, int32_t speed, int32_t extra_speed, int which)
{
    const double packed = static_cast<double>(int64_t{speed} * 20) + static_cast<double>(extra_speed) / 5.0;
    const int64_t value = nearest(packed);
    if (!std::in_range<int16_t>(value))
        throw ReadFailure("il valore " + std::to_string(value) + " (velocità " + std::to_string(which) +
                              " x 20 + velocità " + std::to_string(which + 3) +
                              " / 5) dell'indicatore non sta in un numero a 16 bit (da -32768 a 32767)",
                          s.key_place);
    return static_cast<int16_t>(value);
}

// The two types side by side, in the 16 bits of the field.
int16_t packed_types(int32_t type1, int32_t type2)
{
    const auto tens = static_cast<uint16_t>(static_cast<uint16_t>(type1) * 10u);
    return static_cast<int16_t>(static_cast<uint16_t>(tens + static_cast<uint16_t>(type2)));
}

} // namespace

bool memo_indicatori_v_max(RunState& s, int32_t position_m, const SpeedIndicator& board)
{
    const int64_t c = cell_after(position_m);
    RouteCell& cell = s.cells.at(c);
    if (!cell.free()) {
        segnala_cella(s, ErrorNumber::indicator_on_taken_cell, position_m, c);
        return false;
    }
    cell.kind = kind_speed_indicator;
    note_cell_origin(s, c);
    cell.value = packed_speeds(s, board.speed1, board.speed4, 1);
    cell.value2 = packed_speeds(s, board.speed2, board.speed5, 2);
    cell.value3 = packed_speeds(s, board.speed3, board.speed6, 3);
    cell.value4 = packed_types(board.type1, board.type2);
    return true;
}

bool place_sign_board(RunState& s, int32_t position_m, int32_t& board_slot)
{
    const int64_t c = cell_after(position_m);
    RouteCell& cell = s.cells.at(c);
    if (!cell.free()) {
        segnala_cella(s, ErrorNumber::board_on_taken_cell, position_m, c);
        return false;
    }
    if (board_slot < 1) {
        segnala(s, ErrorNumber::too_many_boards, position_m);
        return false;
    }
    cell.kind = kind_sign_board;
    cell.value = static_cast<int16_t>(board_slot);
    note_cell_origin(s, c);
    s.records[board_slot].text = s.work_text;
    s.record_origins[static_cast<std::size_t>(board_slot)] = s.key_place;
    --board_slot;
    return true;
}

} // namespace tratta
