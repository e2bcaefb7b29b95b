// Code points of the track: the cell of the position (not the one after it)
// takes the code value, or is marked as a point without code.

#include "model/nearest.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

#include <utility>
#include <string>

namespace tratta {

LineEnd read_code_point_line(TrainRead& r)
{
    r.in.expect(train_keys::code_point);
    const int32_t position = r.in.read_i32();
    const SourcePlace at = r.in.field_place();
    const int32_t code = r.in.read_i32();
    const SourcePlace code_place = r.in.field_place();
    RunState& s = r.state;
    if (!position_accepted(s, position, at))
        return LineEnd::completion;
    const int64_t t = cell_of(position);
    if (!s.cells.contains(t) || !s.cells.at(t).free()) {
        segnala_cella(s, ErrorNumber::cut_point_on_taken_cell, position, t);
        return LineEnd::error_exit;
    }
    RouteCell& cell = s.cells.at(t);
    note_cell_origin(s, t);
    if (code <= 0) {
        cell.kind = kind_code_point_plain;
        return LineEnd::next_key;
    }
    cell.kind = kind_code_point;
    if (!std::in_range<int16_t>(code))
        throw ReadFailure("il valore del codice " + std::to_string(code) + " non sta in un numero a 16 bit (fino a 32767)",
                          code_place);
    cell.value = static_cast<int16_t>(code);
    return LineEnd::next_key;
}

} // namespace tratta
