// Speed indicator boards against the train's speed-limit profile: the limit
// the train runs to from a board on is one of the speeds the board shows.
#include "autore/analysis/rules.hpp"

#include "model/nearest.hpp"
#include "source/line/line_keys.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace autore {

namespace {

using tratta::TracedField;

struct Board {
    tratta::SourcePlace at;
    int64_t position_m = 0;
    std::array<int64_t, 3> speeds{};
};

std::vector<Board> boards_of(const std::vector<TracedField>& fields)
{
    std::vector<Board> boards;
    for (const TracedField& f : fields) {
        if (f.key != &tratta::line_keys::speed_indicator || f.role != TracedField::Role::number)
            continue;
        if (f.index == 0)
            boards.push_back({f.place, f.value, {}});
        else if (!boards.empty() && f.index <= 3)
            boards.back().speeds[f.index - 1u] = f.value;
    }
    return boards;
}

std::string kmh(int64_t v) { return std::to_string(v) + " km/h"; }

} // namespace

void board_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    // Without the train file read to its end the limits are not all laid.
    const tratta::RouteCells& cells = compiled.model.cells;
    if (!cells.exists() || !compiled.model.profiles_completed)
        return;
    for (const Board& b : boards_of(compiled.trace.fields)) {
        // The stretch that begins at the board's position.
        const int64_t cell = tratta::nearest(static_cast<double>(b.position_m) / 50.0);
        if (!cells.contains(cell) || cell > cells.last() - 3)
            continue;
        const int64_t limit = int64_t{cells.at(cell).speed5} * 5;
        if (std::find(b.speeds.begin(), b.speeds.end(), limit) != b.speeds.end())
            continue;
        const int64_t highest = *std::max_element(b.speeds.begin(), b.speeds.end());
        const std::string message =
            "l'indicatore a " + std::to_string(b.position_m) + " m mostra " + kmh(b.speeds[0]) + ", " + kmh(b.speeds[1]) +
            " e " + kmh(b.speeds[2]) + ", ma il limite del treno da qui è " + kmh(limit) +
            (limit > highest ? ": più alto di ogni velocità del cartello" : ": nessuna velocità del cartello");
        Diagnostic d = warning_at(b.at, "cartello-velocita-discorde", message);
        d.at_m = b.position_m;
        out.push_back(std::move(d));
    }
}

} // namespace autore
