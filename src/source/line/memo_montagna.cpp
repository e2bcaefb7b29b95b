#include "source/line/memo_montagna.hpp"

#include "model/run_state.hpp"
#include "model/nearest.hpp"

#include <algorithm>

namespace tratta {

namespace {

constexpr int32_t marker_code_offset = 10;
constexpr int64_t close_gap_m = 150;
constexpr int32_t close_side_code = 3;
constexpr int64_t marker_spacing = 4;

} // namespace

void memo_montagna(RunState& s, MountainTrack& track, int32_t& start_m, int32_t& end_m, int32_t& code)
{
    bool markers = false;
    if (code > marker_code_offset) {
        code -= marker_code_offset;
        markers = true;
    }
    ++track.count;
    const bool close_behind = track.count > 1 && int64_t{start_m} - track.previous_end_m <= close_gap_m;
    track.previous_end_m = end_m;
    if (close_behind)
        code = close_side_code;

    // The cells that cover the metres from the start up to the end; the cell
    // that begins at the end is left out.
    const int64_t first = nearest(static_cast<double>(start_m) / 50.0);
    const int64_t last = std::min(nearest(static_cast<double>(end_m) / 50.0 - 1.0), int64_t{s.cells.last()});
    const auto side = static_cast<uint8_t>(code & 0xFF);
    int64_t q = 0;
    for (int64_t i = first; i <= last; ++i) {
        ++q;
        if (!s.cells.contains(i))
            continue;
        RouteCell& cell = s.cells.at(i);
        cell.side = side;
        if (markers && q % marker_spacing == 0 && cell.kind == kind_none) {
            cell.kind = kind_mountain_marker;
            note_cell_origin(s, i);
        }
    }
}

} // namespace tratta
