#include "model/route_cells.hpp"

#include "model/file_layouts.hpp"
#include "model/nearest.hpp"

#include <stdexcept>

namespace tratta {

void RouteCells::create(int32_t length_m)
{
    line_end_m_ = static_cast<int64_t>(length_m) + 7000;
    const int64_t n = nearest(static_cast<double>(line_end_m_) / 50.0);
    if (n < 0)
        throw std::invalid_argument("lunghezza del percorso negativa oltre la coda");
    last_ = static_cast<int32_t>(n);
    cells_.assign(static_cast<std::size_t>(n) + 1, RouteCell{});
}

RouteCell& RouteCells::at(int64_t index)
{
    if (!contains(index))
        throw std::out_of_range("cella fuori dalla griglia del percorso");
    return cells_[static_cast<std::size_t>(index)];
}

const RouteCell& RouteCells::at(int64_t index) const
{
    if (!contains(index))
        throw std::out_of_range("cella fuori dalla griglia del percorso");
    return cells_[static_cast<std::size_t>(index)];
}

void encode_route_cells(const RouteCells& grid, ByteBuffer& out)
{
    out.reserve(out.size() + grid.cells().size() * cell_bytes);
    for (const auto& c : grid.cells())
        for_each_field(c, [&out](const LayoutField&, auto value) { out.put(value); });
}

} // namespace tratta
