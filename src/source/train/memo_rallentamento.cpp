#include "source/train/memo_rallentamento.hpp"

#include "model/run_state.hpp"
#include "model/low_bits.hpp"
#include "model/nearest.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

namespace tratta {

namespace {

// The warning point stands 1200 m before the start; below 1500 m there is none.
constexpr int32_t warning_distance_m = 1200;
constexpr int32_t warning_threshold_m = 1500;

bool cell_free(const RouteCells& cells, int64_t index)
{
    return cells.contains(index) && cells.at(index).free();
}

} // namespace

bool memo_rallentamento(RunState& s, SlowdownLine& r)
{
    RouteCells& cells = s.cells;
    const bool warned = r.start_m > warning_threshold_m;
    const int64_t warning_m = int64_t{r.start_m} - warning_distance_m;

    // Every cell is tested before any is written.
    const int64_t a = cell_after(warning_m);
    if (warned && !cell_free(cells, a)) {
        segnala_cella(s, ErrorNumber::warning_on_taken_cell, r.start_m, a);
        return false;
    }
    const int64_t b = cell_after(r.start_m);
    if (!cell_free(cells, b)) {
        segnala_cella(s, ErrorNumber::slowdown_start_on_taken_cell, r.start_m, b);
        return false;
    }
    const int64_t e = cell_after(int64_t{r.start_m} + r.length_m);
    if (!cells.contains(e)) {
        segnala(s, ErrorNumber::slowdown_end_outside, r.start_m);
        return false;
    }
    if (!cells.at(e).free()) {
        segnala_cella(s, ErrorNumber::slowdown_end_on_taken_cell, r.start_m, e);
        return false;
    }

    const int16_t speed = low16(r.speed);
    const int16_t second = low16(r.second_speed);
    const int16_t fourth = low16(r.fourth);
    const bool has_second = r.second_speed != 0;

    cells.at(e).kind = kind_slowdown_end;
    note_cell_origin(s, e);
    if (has_second)
        cells.at(e).value2 = second;
    cells.at(b).kind = kind_slowdown_start;
    note_cell_origin(s, b);
    if (has_second)
        cells.at(b).value2 = second;
    if (warned) {
        RouteCell& w = cells.at(a);
        w.kind = kind_slowdown_warning;
        note_cell_origin(s, a);
        if (has_second)
            w.value2 = second;
        w.value = speed;
    }
    cells.at(b).value = speed;
    cells.at(e).value = speed;
    cells.at(b).value3 = fourth;
    cells.at(e).value3 = fourth;

    // Marker cells count away from the warning point: the one next to it is 1.
    if (r.marker_flag == 0 || !warned)
        return true;
    const int64_t m = cell_of(warning_m);
    for (int64_t j = 0; j < 4; ++j) {
        if (!cell_free(cells, m - j)) {
            segnala_cella(s, ErrorNumber::slowdown_boards_on_taken_cells, r.start_m, m - j);
            return false;
        }
    }
    for (int64_t j = 0; j < 4; ++j) {
        RouteCell& c = cells.at(m - j);
        c.kind = kind_slowdown_marker;
        note_cell_origin(s, m - j);
        c.value = low16(j + 1);
        if (has_second)
            c.value2 = low16(j + 1);
    }
    return true;
}

LineEnd read_slowdown_line(TrainRead& r)
{
    r.in.expect(train_keys::slowdown);
    SlowdownLine f;
    f.start_m = r.in.read_i32();
    const SourcePlace at = r.in.field_place();
    f.speed = r.in.read_i32();
    f.length_m = r.in.read_i32();
    f.fourth = r.in.read_i32();
    f.marker_flag = r.in.read_i32();
    f.second_speed = r.in.read_i32();

    RunState& s = r.state;
    if (!position_accepted(s, f.start_m, at))
        return LineEnd::completion;
    return after_placing(s, memo_rallentamento(s, f), f.start_m);
}

} // namespace tratta
