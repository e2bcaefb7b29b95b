#include "source/line/line_body.hpp"

#include "source/grid_check.hpp"
#include "source/keys.hpp"
#include "source/line/boards.hpp"
#include "source/line/line_keys.hpp"

namespace tratta {

namespace {

// A positioned line beyond the grid (or before its origin) ends the file
// there: what was read stays and the tail still runs.
bool position_refused(RunState& s, int32_t position_m, const SourcePlace& field)
{
    if (grid_accepts(s.cells, position_m))
        return false;
    segnala(s, ErrorNumber::beyond_grid, position_m, field);
    return true;
}

SpeedIndicator read_speed_indicator(FieldReader& in)
{
    SpeedIndicator b;
    b.speed1 = in.read_i32();
    b.speed2 = in.read_i32();
    b.speed3 = in.read_i32();
    b.type1 = in.read_i32();
    b.speed4 = in.read_i32();
    b.speed5 = in.read_i32();
    b.speed6 = in.read_i32();
    b.type2 = in.read_i32();
    return b;
}

} // namespace

LineBody start_line_body(RunState& s)
{
    if (s.j != 0)
        start_track_plan(s.profile);
    return {};
}

BodyEnd read_line_body(RunState& s, FieldReader& in, LineBody& body)
{
    while (next_key(s, in)) {
        // Every test is made on the same key, one after the other; only the
        // sign board, tested last, reads its text over the key.
        if (contains_nocase(s.work_text, "pendenza")) {
            in.expect(line_keys::gradient);
            const int32_t position = in.read_i32();
            const SourcePlace at = in.field_place();
            const int32_t gradient = in.read_i32();
            if (position_refused(s, position, at))
                return BodyEnd::file_end;
            lay_gradient(s.cells, body.gradients, position, gradient);
        }
        if (s.j != 0 && contains_nocase(s.work_text, "curva")) {
            in.expect(line_keys::curve);
            const int32_t start = in.read_i32();
            const SourcePlace at = in.field_place();
            const int32_t length = in.read_i32();
            if (position_refused(s, start, at))
                return BodyEnd::file_end;
            const auto k = curve_curvature(s.work_text);
            if (!k || !lay_curve(s.profile, body.metre, start, int64_t{start} + length, *k)) {
                segnala(s, ErrorNumber::curve_refused);
                return BodyEnd::refused;
            }
        }
        if (contains_nocase(s.work_text, "montagna")) {
            in.expect(line_keys::mountain);
            int32_t start = in.read_i32();
            const SourcePlace at = in.field_place();
            int32_t end = in.read_i32();
            int32_t code = in.read_i32();
            if (position_refused(s, start, at))
                return BodyEnd::file_end;
            memo_montagna(s, body.mountains, start, end, code);
        }
        if (contains_nocase(s.work_text, "indicatori_v")) {
            in.expect(line_keys::speed_indicator);
            const int32_t position = in.read_i32();
            const SourcePlace at = in.field_place();
            const SpeedIndicator board = read_speed_indicator(in);
            if (position_refused(s, position, at))
                return BodyEnd::file_end;
            if (!memo_indicatori_v_max(s, position, board))
                return BodyEnd::refused;
        }
        if (contains_nocase(s.work_text, "indicat") && contains_nocase(s.work_text, "cartello")) {
            in.expect(line_keys::sign_board);
            const int32_t position = in.read_i32();
            const SourcePlace at = in.field_place();
            s.work_text = in.read_text();
            if (position_refused(s, position, at))
                return BodyEnd::file_end;
            if (!place_sign_board(s, position, body.board_slot))
                return BodyEnd::refused;
        }
    }
    return BodyEnd::file_end;
}

void finish_line_body(RunState& s, LineBody& body)
{
    finish_gradients(s.cells, body.gradients);
    if (s.j != 0)
        finish_track_plan(s.profile, body.metre);
}

} // namespace tratta
