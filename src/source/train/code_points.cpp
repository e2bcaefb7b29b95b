// Code points of the track: the cell of the position (not the one after it)
// takes the code value, or is marked as a point without code.

#include "model/nearest.hpp"
#include "source/train/train_read.hpp"

#include <limits>

namespace tratta {

LineEnd read_code_point_line(TrainRead& r)
{
    const int32_t position = r.in.read_i32();
    const int32_t code = r.in.read_i32();
    RunState& s = r.state;
    if (!position_accepted(s, position))
        return LineEnd::completion;
    const int64_t t = cell_of(position);
    if (!s.cells.contains(t) || !s.cells.at(t).free()) {
        segnala(s, 7, position);
        return LineEnd::error_exit;
    }
    RouteCell& cell = s.cells.at(t);
    if (code <= 0) {
        cell.kind = kind_code_point_plain;
        return LineEnd::next_key;
    }
    cell.kind = kind_code_point;
    if (code > std::numeric_limits<int16_t>::max())
        throw ReadFailure("valore del codice oltre 32767");
    cell.value = static_cast<int16_t>(code);
    return LineEnd::next_key;
}

} // namespace tratta
