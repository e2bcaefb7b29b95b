// The data errors of a compile as an author reads them: at the field that
// raised them, with what holds a taken cell and where that came from.
#include "autore/analysis/check.hpp"
#include "autore/analysis/rules.hpp"
#include "autore/route/objects.hpp"
#include "autore/route/route_data.hpp"

#include "model/error_meanings.hpp"
#include "source/line/line_keys.hpp"

#include <string>

namespace autore {

namespace {

using tratta::DataError;
using tratta::RouteCells;
using tratta::RunState;
using tratta::SourcePlace;

// Errors whose chainage means something: the position of the line, or the
// cell the finishing pass worked on.
bool has_chainage(int32_t code)
{
    switch (code) {
    case 6: case 7: case 8: case 9: case 11: case 12: case 13: case 15: case 16: case 17: case 18:
    case 19: case 20: case 21: case 22: case 26: case 27: case 28:
        return true;
    default: return false;
    }
}

// An object that found its cell taken.
bool is_taken_cell(int32_t code)
{
    switch (code) {
    case 6: case 7: case 16: case 17: case 18: case 19: case 20: case 21: return true;
    default: return false;
    }
}

SourcePlace origin_of(const RunState& s, int64_t cell)
{
    if (cell < 0 || static_cast<std::size_t>(cell) >= s.cell_origins.size())
        return {};
    return s.cell_origins[static_cast<std::size_t>(cell)];
}

// The finishing pass reads no line: its errors stand at the line of the
// signal or slowdown it worked for.
SourcePlace finishing_place(const RunState& s, const DataError& e)
{
    if (!s.cells.contains(e.cell))
        return {};
    if (e.code == 13) {
        // Inside a slowdown or at its end: the slowdown's start line.
        for (int64_t c = e.cell; c >= 0; --c) {
            const uint8_t kind = s.cells.at(c).kind;
            if (kind == tratta::kind_slowdown_start || kind == tratta::kind_slowdown_end)
                if (const SourcePlace p = origin_of(s, c); p.known())
                    return p;
        }
        return {};
    }
    return origin_of(s, e.cell);
}

// A chainage off the 50 m grid stands at its own line of the line file.
SourcePlace chainage_place(const RunState& s)
{
    for (int index : {tratta::ScenarioRecords::chainage_first, tratta::ScenarioRecords::chainage_middle,
                      tratta::ScenarioRecords::chainage_last}) {
        const auto& r = s.records[index];
        if (r.start_m % 50 != 0 || r.end_m % 50 != 0)
            return s.record_origins[static_cast<std::size_t>(index)];
    }
    return {};
}

std::string cell_words(int64_t cell) { return "la cella " + std::to_string(cell) + " (" + std::to_string(cell * 50) + " m)"; }

Diagnostic diagnostic_of(const tratta::CompileResult& c, const DataError& e)
{
    const RunState& s = c.model;
    Diagnostic d;
    d.severity = Severity::error;
    d.code = std::to_string(e.code);
    d.place = e.place;
    if (has_chainage(e.code))
        d.at_m = e.at_m;
    d.message = std::string(e.meaning());
    if (d.at_m)
        d.message += " a " + std::to_string(*d.at_m) + " m";
    if (e.code == 25 && !e.cause.empty()) {
        d.message = "errore di lettura: " + e.cause;
    } else if (!e.cause.empty()) {
        d.message += ": " + e.cause;
    }
    if (e.code == 15 && s.cells.exists()) {
        d.message += " (la griglia di questo percorso accetta posizioni fino a " +
                     std::to_string(int64_t{s.cells.last()} * 50 - 100) + " m, le stazioni fino a " +
                     std::to_string(int64_t{s.cells.last()} * 50 - 800) + " m)";
        if (const auto* length = route_length_field(c))
            d.related.push_back({length->place, "la lunghezza del percorso, letta qui come " +
                                                    std::to_string(length->value) + " m"});
    }
    if (!d.place.known() && (e.code == 11 || e.code == 12 || e.code == 13))
        d.place = finishing_place(s, e);
    if (!d.place.known() && e.code == 2)
        d.place = chainage_place(s);
    if (is_taken_cell(e.code) && s.cells.contains(e.cell)) {
        const uint8_t kind = s.cells.at(e.cell).kind;
        d.message += ": " + cell_words(e.cell) + " ha già " + std::string(object_phrase(kind));
        const SourcePlace holder = origin_of(s, e.cell);
        if (holder.known() && !(holder == e.place))
            d.related.push_back({holder, "qui " + std::string(object_phrase(kind)) + " che occupa " + cell_words(e.cell)});
    }
    return d;
}

// The most bytes a text of the simulator's records holds (its length is a
// 16-bit field): the compile writes no file at all for a longer one.
constexpr std::size_t longest_record_text = 0xFFFF;

// The traced text field of a line that is too long for its record, when the
// fields were traced; otherwise the line's key.
SourcePlace long_text_place(const tratta::CompileResult& c, const SourcePlace& key)
{
    for (const auto& f : c.trace.fields)
        if (f.role == tratta::TracedField::Role::text && f.place.file == key.file && f.place.line == key.line &&
            f.token.size() > longest_record_text)
            return f.place;
    return key;
}

// Every station name, board text or name of the scenario that no record can
// hold, each at its line: the compile refuses the lot and writes nothing.
void long_texts(const tratta::CompileResult& c, std::vector<Diagnostic>& out)
{
    const RunState& s = c.model;
    for (int r = 0; r < tratta::ScenarioRecords::count; ++r) {
        const tratta::ScenarioRecord& rec = s.records[r];
        if (rec.text.size() <= longest_record_text)
            continue;
        const bool header = r > tratta::ScenarioRecords::first_board_slot;
        const char* what = header                        ? "il nome"
                           : is_board_text_record(rec)   ? "il testo del cartello"
                                                         : "il nome della stazione";
        Diagnostic d;
        d.code = "testo-troppo-lungo";
        d.place = long_text_place(c, s.record_origins[static_cast<std::size_t>(r)]);
        d.message = std::string(what) + " è di " + std::to_string(rec.text.size()) + " byte, oltre i " +
                    std::to_string(longest_record_text) +
                    " che un record del file .sim può tenere: la compilazione non scrive nessun file";
        out.push_back(std::move(d));
    }
}

} // namespace

const tratta::TracedField* route_length_field(const tratta::CompileResult& c)
{
    const tratta::TracedField* length = nullptr;
    for (const auto& f : c.trace.fields)
        if (f.key == &tratta::line_keys::route_length && f.role == tratta::TracedField::Role::number)
            length = &f;
    return length;
}

std::vector<Diagnostic> error_diagnostics(const tratta::CompileResult& compiled)
{
    std::vector<Diagnostic> out;
    for (const DataError& e : compiled.errors)
        out.push_back(diagnostic_of(compiled, e));
    if (compiled.outcome == tratta::CompileOutcome::error_box) {
        // The stamp fields of cell 1 were taken: by an object at the route's very start.
        Diagnostic d;
        d.code = std::to_string(compiled.box_number);
        d.message = std::string(tratta::error_meaning(compiled.box_number)) +
                    ": un oggetto sta nella cella 1 (meno di 25 m dall'inizio) e la riempie; nessun file viene scritto";
        d.place = origin_of(compiled.model, 1);
        d.at_m = 0;
        out.push_back(d);
    }
    long_texts(compiled, out);
    return out;
}

} // namespace autore
