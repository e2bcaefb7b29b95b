// The compiled files as text for a person: one line per record or cell, only
// the fields that hold something.
#include "autore/dump.hpp"
#include "autore/table_fields.hpp"

#include "model/code_page.hpp"

#include <cstdio>
#include <ostream>
#include <string>

namespace autore {

namespace {

std::string printed(const char* format, auto... values)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string non_zero_fields(const std::vector<NamedValue>& fields, std::string_view skip = {})
{
    std::string text;
    for (const auto& f : fields)
        if (f.value != 0 && f.name != skip)
            text += " " + std::string(f.name) + "=" + std::to_string(f.value);
    return text;
}

const char* header_label(int index)
{
    switch (index) {
    case 81:
    case 82:
    case 83: return "progressiva chilometrica";
    case 84: return "treno: massa frenata, lunghezza, vetture";
    case 85: return "scenario: sfondi, nome, timbro, codice";
    case 86: return "corsa: ripetizione segnali, nome, sabbia, orologio";
    default: return nullptr;
    }
}

std::string clock(int32_t seconds)
{
    return printed("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string metres(double v) { return printed("%.3f", v); }

} // namespace

void records_text(const tratta::ScenarioRecords& records, std::ostream& out)
{
    out << "file dei record dello scenario: " << tratta::ScenarioRecords::count << " record\n";
    int empty = 0;
    for (int i = 0; i < tratta::ScenarioRecords::count; ++i) {
        const auto& r = records[i];
        std::string line = non_zero_fields(record_fields(r));
        if (!r.text.empty())
            line += " text=\"" + tratta::cp1252_to_utf8(r.text) + "\"";
        if (line.empty()) {
            ++empty;
            continue;
        }
        out << printed("record %2d:", i) << line;
        if (i >= 1 && i <= tratta::ScenarioRecords::first_board_slot && r.time_s > 0)
            out << " (" << clock(r.time_s) << ")";
        if (const char* label = header_label(i))
            out << "   [" << label << "]";
        out << '\n';
    }
    out << "record vuoti: " << empty << '\n';
}

void cells_text(const std::vector<tratta::RouteCell>& cells, bool objects_only, std::ostream& out)
{
    out << "griglia del percorso: celle 0.." << cells.size() - 1 << ", una ogni 50 m (metri = cella x 50)\n";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& c = cells[i];
        if (objects_only && c.kind == tratta::kind_none)
            continue;
        const std::string fields = non_zero_fields(cell_fields(c), "kind");
        if (c.kind == tratta::kind_none && fields.empty())
            continue;
        out << printed("cella %5zu %8zu m  ", i, i * 50);
        out << (c.kind == tratta::kind_none ? std::string("-") : std::string(kind_name(c.kind)) + " (" +
                                                                     std::to_string(c.kind) + ")");
        out << fields << '\n';
    }
}

void line_table_text(const tratta::DecodedLineProfile& table, int64_t step_m, std::ostream& out)
{
    const LineTableSummary sum = summarise(table);
    out << "tabella della linea: metri 0.." << sum.last_m << " (" << sum.last_m + 1 << " punti per coordinata)\n";
    out << "elementi di x e y: " << sum.whole << " interi, " << sum.real << " reali, " << sum.empty << " vuoti\n";
    if (sum.has_points)
        out << "estensione: x da " << metres(sum.min_x) << " a " << metres(sum.max_x) << " m, y da "
            << metres(sum.min_y) << " a " << metres(sum.max_y) << " m\n";
    out << printed("%10s %16s %16s\n", "metro", "x", "y");
    for (const int64_t m : sample_metres(sum.last_m, step_m)) {
        std::string coords;
        for (int r = 0; r < 2; ++r)
            coords += printed(" %16s", table.tag(m, r) == tratta::ProfileTag::empty
                                           ? "vuoto"
                                           : metres(table.get(m, r)).c_str());
        out << printed("%10lld", static_cast<long long>(m)) << coords << '\n';
    }
}

} // namespace autore
