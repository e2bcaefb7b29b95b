#pragma once
// The route grid: one cell per 50 m of route plus a 7000 m run-out. A cell holds
// at most one point object (signal, slowdown cell, stop cell, board, code point)
// and the properties of its stretch of track (gradient, mountain side, speed
// limit, adhesion). It is written whole to the ".dat" file, 15 bytes a cell.

#include "model/byte_buffer.hpp"

#include <cstdint>
#include <vector>

namespace tratta {

enum CellKind : uint8_t {
    kind_none = 0,
    kind_signal = 1,
    kind_slowdown_end = 2,
    kind_slowdown_start = 3,
    kind_slowdown_warning = 4,
    kind_slowdown_marker = 5,
    kind_speed_indicator = 6,
    kind_station_stop = 10,
    kind_mountain_marker = 11,
    kind_code_point = 12,
    kind_code_point_plain = 13,
    kind_sign_board = 14,
};

struct RouteCell {
    uint8_t kind = 0;
    int16_t value = 0;
    int16_t value2 = 0;
    int16_t value3 = 0;
    int16_t value4 = 0;
    uint8_t aux = 0;
    uint8_t approach = 0;
    uint8_t side = 0;
    uint8_t speed5 = 0;
    uint8_t gradient = 0;
    uint8_t adhesion = 0;

    // A cell is free for a new point object when it holds nothing or only a
    // mountain-side marker.
    bool free() const { return kind == kind_none || kind == kind_mountain_marker; }
    bool operator==(const RouteCell&) const = default;
};

inline constexpr std::size_t cell_bytes = 15;

class RouteCells {
public:
    // Creates cells 0..N anew, all zero, for a route of length_m metres:
    // N = nearest((length_m + 7000) / 50).
    void create(int32_t length_m);

    bool exists() const { return !cells_.empty(); }
    int32_t last() const { return last_; }          // N, the last cell's index
    int64_t line_end_m() const { return line_end_m_; } // L + 7000
    bool contains(int64_t index) const { return exists() && index >= 0 && index <= last_; }

    // Bounds-checked access: an index outside 0..N throws std::out_of_range.
    RouteCell& at(int64_t index);
    const RouteCell& at(int64_t index) const;

    const std::vector<RouteCell>& cells() const { return cells_; }

private:
    std::vector<RouteCell> cells_;
    int32_t last_ = -1;
    int64_t line_end_m_ = 0;
};

// The ".dat" file: cells 0..N, 15 bytes each, nothing else.
void encode_route_cells(const RouteCells& grid, ByteBuffer& out);

} // namespace tratta
