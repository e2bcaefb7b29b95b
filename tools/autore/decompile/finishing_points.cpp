#include "autore/decompile/finishing_points.hpp"

#include "model/passata_finale.hpp"
#include "model/run_state.hpp"

#include <set>

namespace autore {

namespace {

bool pass_like(const tratta::RouteCell& c)
{
    return c.kind == tratta::kind_code_point && c.value == tratta::finishing_code;
}

// The grid with only the authored code points of value 180 kept, after the
// finishing pass has run over it.
std::vector<tratta::RouteCell> passed(const std::vector<tratta::RouteCell>& cells, int32_t route_length_m,
                                      const std::set<int64_t>& kept)
{
    tratta::RunState state;
    state.cells.create(route_length_m);
    for (std::size_t i = 0; i < cells.size() && state.cells.contains(static_cast<int64_t>(i)); ++i) {
        tratta::RouteCell c = cells[i];
        if (pass_like(c) && !kept.contains(static_cast<int64_t>(i))) {
            c.kind = tratta::kind_none;
            c.value = 0;
        }
        state.cells.at(static_cast<int64_t>(i)) = c;
    }
    tratta::passata_finale(state);
    return state.cells.cells();
}

} // namespace

std::vector<int64_t> authored_code_points(const std::vector<tratta::RouteCell>& cells, int32_t route_length_m)
{
    // Start from no authored point of value 180; each round keeps those the
    // pass did not put back. A kept point takes a cell the pass might have
    // chosen, so the rounds go on until none is added (each adds one at least).
    std::set<int64_t> kept;
    for (;;) {
        const auto after = passed(cells, route_length_m, kept);
        bool added = false;
        for (std::size_t i = 0; i < cells.size() && i < after.size(); ++i)
            if (pass_like(cells[i]) && !pass_like(after[i]) && kept.insert(static_cast<int64_t>(i)).second)
                added = true;
        if (!added)
            break;
    }
    std::vector<int64_t> authored;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& c = cells[i];
        const bool code_point = c.kind == tratta::kind_code_point || c.kind == tratta::kind_code_point_plain;
        if (code_point && (!pass_like(c) || kept.contains(static_cast<int64_t>(i))))
            authored.push_back(static_cast<int64_t>(i));
    }
    return authored;
}

} // namespace autore
