#include "source/train/memo_segnale.hpp"

#include "model/run_state.hpp"
#include "model/low_bits.hpp"
#include "model/nearest.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

namespace tratta {

bool memo_segnale(RunState& s, SignalLine& f)
{
    // The signal stands one cell beyond the cell of its position, so that a
    // code point at the same position keeps its own cell.
    const int64_t c = cell_after(f.position);
    if (!s.cells.contains(c) || !s.cells.at(c).free()) {
        segnala_cella(s, ErrorNumber::signal_on_taken_cell, f.position, c);
        return false;
    }
    const int64_t type = f.type;
    const int64_t marker = f.marker;
    RouteCell& cell = s.cells.at(c);
    cell.kind = kind_signal;
    note_cell_origin(s, c);
    cell.value4 = low16(int64_t{f.tens[3]} * 10 + type * 3 + marker);
    cell.value = low16(int64_t{f.tens[0]} * 10 + f.units[0]);
    cell.value2 = low16(int64_t{f.tens[1]} * 10 + f.units[1]);
    cell.value3 = low16(int64_t{f.tens[2]} * 10 + f.units[2]);

    if (f.extra >= 1 && f.extra <= 100)
        f.extra = 101;
    cell.aux = f.type == 2 ? low8(f.extra) : uint8_t{0};

    // Approach numbers every second cell before the signal, whatever those
    // cells hold; cells before the start of the grid have none.
    const int64_t approach = (type * 3 + marker) * 10;
    for (int64_t k = 1; k <= 4; ++k) {
        const int64_t a = c - 2 * k;
        if (s.cells.contains(a))
            s.cells.at(a).approach = low8(approach + k);
    }
    return true;
}

LineEnd read_signal_line(TrainRead& r)
{
    r.in.expect(train_keys::signal);
    SignalLine f;
    f.position = r.in.read_i32();
    const SourcePlace at = r.in.field_place();
    f.type = r.in.read_i32();
    for (auto& t : f.tens)
        t = r.in.read_i32();
    f.marker = r.in.read_i32();
    for (auto& u : f.units)
        u = r.in.read_i32();
    f.extra = r.in.read_i32();

    RunState& s = r.state;
    if (!position_accepted(s, f.position, at))
        return LineEnd::completion;
    return after_placing(s, memo_segnale(s, f), f.position);
}

} // namespace tratta
