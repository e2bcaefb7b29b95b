#pragma once
// Gradients along the route grid: each 50 m cell holds the gradient in force
// at its start, stored plus 100 so that 100 means level track.

#include "model/route_cells.hpp"

#include <cstdint>

namespace tratta {

// The gradient cursor: the next cell to receive a gradient, and the gradient
// of the span being filled.
struct GradientCursor {
    int64_t cell = 0;
    int32_t current = 0;
};

// A gradient line: the cells from the cursor up to the one before the line's
// position take the gradient in force so far (at least the cell under the
// cursor, unless the line stands at the route's origin), then the line's
// gradient comes into force.
void lay_gradient(RouteCells& cells, GradientCursor& cursor, int32_t position_m, int32_t gradient);

// After the last line: the gradient in force runs on up to cell N - 3.
void finish_gradients(RouteCells& cells, GradientCursor& cursor);

} // namespace tratta
