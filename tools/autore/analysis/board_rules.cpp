// Speed indicator boards against the train's speed-limit profile: the limit
// the train runs to from a board on is one of the speeds the board shows. And
// sign boards that a station's stop cell took from under them.
#include "autore/analysis/rules.hpp"

#include "model/code_page.hpp"
#include "model/nearest.hpp"
#include "source/line/line_keys.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace autore {

namespace {

using tratta::TracedField;
using tratta::TracedFields;

struct Board {
    tratta::SourcePlace at;
    int64_t position_m = 0;
    std::array<int64_t, 3> speeds{};
};

std::vector<Board> boards_of(const TracedFields& fields)
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

// A sign board of the line file, as its fields give it.
struct SignBoard {
    tratta::SourcePlace at;
    int64_t position_m = 0;
    std::string text; // UTF-8
};

std::vector<SignBoard> sign_boards_of(const TracedFields& fields)
{
    std::vector<SignBoard> boards;
    for (const TracedField& f : fields) {
        if (f.key != &tratta::line_keys::sign_board || f.role == TracedField::Role::key)
            continue;
        if (f.role == TracedField::Role::number && f.index == 0)
            boards.push_back({f.place, f.value, {}});
        else if (f.role == TracedField::Role::text && !boards.empty())
            boards.back().text = tratta::cp1252_to_utf8(f.token);
    }
    return boards;
}

// Whether the board on this line took a record (and so had its cell).
bool board_placed(const tratta::RunState& s, const tratta::SourcePlace& at)
{
    for (int r = tratta::ScenarioRecords::first_board_slot; r >= 1; --r) {
        const tratta::SourcePlace& origin = s.record_origins[static_cast<std::size_t>(r)];
        if (origin.file == at.file && origin.line == at.line)
            return true;
    }
    return false;
}

// The train file is read after the line file: a station whose stop cell is a
// board's cell writes itself over the board, and the driver never sees it.
void boards_under_stations(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    const tratta::RunState& s = compiled.model;
    for (const SignBoard& b : sign_boards_of(compiled.trace.fields)) {
        const int64_t cell = tratta::cell_after(b.position_m);
        if (!s.cells.contains(cell) || s.cells.at(cell).kind != tratta::kind_station_stop ||
            static_cast<std::size_t>(cell) >= s.cell_origins.size() || !board_placed(s, b.at))
            continue;
        const tratta::SourcePlace station_at = s.cell_origins[static_cast<std::size_t>(cell)];
        const int n = s.cells.at(cell).value;
        const std::string station =
            n >= 1 && n <= tratta::ScenarioRecords::first_board_slot ? tratta::cp1252_to_utf8(s.records[n].text) : "";
        const std::string cell_text = "la cella " + std::to_string(cell) + " (" + std::to_string(cell * 50) + " m)";
        Diagnostic lost = warning_at(b.at, "cartello-sotto-stazione",
                                     "il cartello «" + b.text + "» a " + std::to_string(b.position_m) +
                                         " m è perso: la fermata della stazione «" + station + "» prende " + cell_text);
        lost.at_m = b.position_m;
        if (station_at.known())
            lost.related.push_back({station_at, "la stazione «" + station + "», che ferma in " + cell_text});
        out.push_back(lost);
        if (!station_at.known())
            continue;
        Diagnostic taker = warning_at(station_at, "cartello-sotto-stazione",
                                      "la fermata della stazione «" + station + "» prende " + cell_text +
                                          " del cartello «" + b.text + "», che va perso");
        taker.at_m = b.position_m;
        taker.related.push_back({b.at, "il cartello «" + b.text + "» a " + std::to_string(b.position_m) + " m"});
        out.push_back(std::move(taker));
    }
}

} // namespace

void board_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out)
{
    // Without the train file read to its end the limits are not all laid.
    const tratta::RouteCells& cells = compiled.model.cells;
    if (!cells.exists())
        return;
    boards_under_stations(compiled, out);
    if (!compiled.model.profiles_completed)
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
