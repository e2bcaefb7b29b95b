#include "source/line/gradients.hpp"

#include "model/nearest.hpp"

namespace tratta {

namespace {

constexpr int64_t level = 100;

// Writes the gradient in force under the cursor and moves on. A cursor that
// many lines at or behind it have pushed past the grid writes nothing.
void fill_one(RouteCells& cells, GradientCursor& cursor)
{
    if (cells.contains(cursor.cell))
        cells.at(cursor.cell).gradient = static_cast<uint8_t>((cursor.current + level) & 0xFF);
    ++cursor.cell;
}

} // namespace

void lay_gradient(RouteCells& cells, GradientCursor& cursor, int32_t position_m, int32_t gradient)
{
    const int64_t until = cell_of(position_m);
    if (until > 0) {
        do
            fill_one(cells, cursor);
        while (cursor.cell < until);
    }
    cursor.current = gradient;
}

void finish_gradients(RouteCells& cells, GradientCursor& cursor)
{
    const int64_t until = int64_t{cells.last()} - 2;
    do
        fill_one(cells, cursor);
    while (cursor.cell < until);
}

} // namespace tratta
