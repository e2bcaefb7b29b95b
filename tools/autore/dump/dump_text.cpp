// The compiled files as text for their author: each field named by what it
// means, with the source line and fields it came from, and the conversions
// stated (the 50 m cell, an object 50 m after its source position, the 100
// added to the offset of a decreasing chainage).
#include "autore/dump/dump.hpp"
#include "autore/dump/field_meanings.hpp"
#include "autore/route/speed_indicator.hpp"
#include "autore/route/table_fields.hpp"

#include "model/code_page.hpp"

#include <cstdio>
#include <ostream>
#include <set>
#include <string>

namespace autore {

namespace {

std::string printed(const char* format, auto... values)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string clock(int32_t seconds)
{
    return printed("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string metres(double v) { return printed("%.3f", v); }

std::string origin_arrow(const FieldMeaning& m) { return " ← " + origin_words(m.origin); }

// --- records -------------------------------------------------------------------------

std::string record_title(const tratta::ScenarioRecords& records, int index, RecordRole role)
{
    const auto& r = records[index];
    std::string title = printed("record %2d: ", index) + std::string(role_meaning(role).name);
    if (!r.text.empty())
        title += " «" + tratta::cp1252_to_utf8(r.text) + "»";
    if (role == RecordRole::station && r.time_s > 0)
        title += " (orario " + clock(r.time_s) + ")";
    if (role == RecordRole::chainage && index == tratta::ScenarioRecords::chainage_last)
        title += " (delle tre, quella che comincia più avanti; le altre nei record 82 e 83)";
    return title;
}

void record_lines(const tratta::ScenarioRecords& records, int index, std::ostream& out)
{
    const RecordRole role = record_role(records, index);
    const auto& r = records[index];
    const RoleMeaning& meaning = role_meaning(role);
    out << record_title(records, index, role) << '\n';
    for (const auto& f : record_fields(r)) {
        if (f.value == 0)
            continue;
        const FieldMeaning* m = meaning_of(meaning.fields, f.name);
        out << printed("    %-8s %10lld  ", std::string(f.name).c_str(), static_cast<long long>(f.value))
            << (m != nullptr ? std::string(m->label) + origin_arrow(*m) : std::string("(non usato da questo record)"))
            << '\n';
        const bool decreasing = role == RecordRole::chainage && f.name == "end_m" && r.at_m == 1;
        if (decreasing)
            out << printed("    %-8s %10lld  ", "", static_cast<long long>(f.value - decreasing_offset_added))
                << "scostamento scritto nel file: la compilazione aggiunge 100 quando i chilometri decrescono\n";
    }
    if (const FieldMeaning* m = meaning_of(meaning.fields, "text"); m != nullptr && !r.text.empty())
        out << printed("    %-8s %10s  ", "text", "") << m->label << origin_arrow(*m) << '\n';
}

// --- cells ---------------------------------------------------------------------------

// "velocità 1 e 4 1717 (85 e 85 km/h)": an indicator's value with its two speeds.
std::string value_words(const FieldMeaning& m, int64_t value, const tratta::RouteCell& c)
{
    std::string words = std::string(m.label) + " " + std::to_string(value);
    if (c.kind != tratta::kind_speed_indicator)
        return words;
    const IndicatorSpeeds s = decode_speed_indicator(c);
    const std::string_view field = m.field;
    for (std::size_t i = 0; i < 3; ++i)
        if (field == (i == 0 ? "value" : i == 1 ? "value2" : "value3"))
            words += " (" + std::to_string(s.speed_kmh[i]) + " e " + std::to_string(s.speed_kmh[i + 3]) + " km/h)";
    if (field == "value4")
        words += " (" + std::to_string(s.type1) + " e " + std::to_string(s.type2) + ")";
    return words;
}

std::string object_words(const tratta::RouteCell& c, std::size_t index)
{
    const KindMeaning* k = kind_meaning(c.kind);
    std::string words = c.kind == tratta::kind_none
                            ? std::string("-")
                            : std::string(kind_name(c.kind)) + " (" + std::to_string(c.kind) + ")";
    if (k != nullptr && !k->source_what.empty()) {
        const auto at = (static_cast<long long>(index) + k->cells_to_source) * 50 + k->metres_to_source;
        words += ", " + std::string(k->source_what) + " circa " + std::to_string(at) + " m";
    }
    std::string values;
    for (const auto& f : cell_fields(c)) {
        if (f.value == 0 || f.name == "kind")
            continue;
        const FieldMeaning* m = index == stamp_cell ? meaning_of(stamp_cell_fields(), f.name) : nullptr;
        if (m == nullptr && k != nullptr)
            m = meaning_of(k->fields, f.name);
        if (m == nullptr && meaning_of(track_fields(), f.name) == nullptr)
            values += (values.empty() ? "" : ", ") + std::string(f.name) + " " + std::to_string(f.value);
        else if (m != nullptr)
            values += (values.empty() ? "" : ", ") + value_words(*m, f.value, c);
    }
    return values.empty() ? words : words + ": " + values;
}

std::string track_words(const tratta::RouteCell& c)
{
    std::string words;
    const auto add = [&words](const std::string& w) { words += (words.empty() ? "" : ", ") + w; };
    if (c.speed5 != 0)
        add("velocità massima " + std::to_string(c.speed5 * 5) + " km/h");
    if (c.gradient != 0)
        add("pendenza " + printed("%+d", c.gradient - 100) + " ‰");
    if (c.adhesion != 0)
        add("aderenza " + std::to_string(c.adhesion));
    if (c.side != 0)
        add("lato montagna " + std::to_string(c.side));
    if (c.approach != 0)
        add("approccio " + std::to_string(c.approach));
    return words;
}

void field_legend(const FieldMeaning& m, std::ostream& out)
{
    out << "    " << m.label << " (" << m.field << "): " << m.meaning << origin_arrow(m) << '\n';
}

void cells_legend(const std::vector<tratta::RouteCell>& cells, bool objects_only, std::ostream& out)
{
    out << "griglia del percorso (.dat): celle 0.." << cells.size() - 1
        << "; la cella i sta a i × 50 m dall'origine del percorso\n";
    std::set<uint8_t> present;
    for (const auto& c : cells)
        if (c.kind != tratta::kind_none)
            present.insert(c.kind);
    if (!present.empty())
        out << "gli oggetti, ciascuno nella sua cella:\n";
    for (const uint8_t kind : present) {
        const KindMeaning* k = kind_meaning(kind);
        out << "  " << kind_name(kind) << " (kind " << int{kind} << ")";
        if (k == nullptr) {
            out << ": tipo che la compilazione non scrive\n";
            continue;
        }
        if (k->key != nullptr)
            out << ", dalla riga «" << k->key->key << "»";
        out << ": " << k->placement << '\n';
        for (const FieldMeaning& m : k->fields)
            field_legend(m, out);
    }
    out << "ogni cella" << (objects_only ? " porta anche il suo tratto (qui solo l'approccio)" : " porta il suo tratto")
        << ":\n";
    for (const FieldMeaning& m : track_fields())
        if (m.field != "kind" && (!objects_only || m.field == "approach"))
            field_legend(m, out);
    out << "la cella " << stamp_cell << " porta i timbri della compilazione:\n";
    for (const FieldMeaning& m : stamp_cell_fields())
        field_legend(m, out);
}

} // namespace

void records_text(const tratta::ScenarioRecords& records, std::ostream& out)
{
    out << "file dei record dello scenario (.sim): " << tratta::ScenarioRecords::count
        << " record; di ogni campo che non è 0 il significato e, dopo «←», la riga della sorgente e i campi da cui "
           "viene\n";
    int empty = 0;
    for (int i = 0; i < tratta::ScenarioRecords::count; ++i) {
        if (record_role(records, i) == RecordRole::empty) {
            ++empty;
            continue;
        }
        record_lines(records, i, out);
    }
    out << "record vuoti: " << empty << '\n';
}

void cells_text(const std::vector<tratta::RouteCell>& cells, bool objects_only, std::ostream& out)
{
    cells_legend(cells, objects_only, out);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& c = cells[i];
        if (objects_only && c.kind == tratta::kind_none)
            continue;
        const std::string object = object_words(c, i);
        tratta::RouteCell only_track = c;
        if (objects_only) {
            only_track = tratta::RouteCell{};
            only_track.approach = c.approach;
        }
        const std::string track = track_words(only_track);
        if (c.kind == tratta::kind_none && object == "-" && track.empty())
            continue;
        out << printed("cella %5zu %8zu m  ", i, i * 50) << object << (track.empty() ? "" : " | " + track) << '\n';
    }
}

void line_table_text(const tratta::DecodedLineProfile& table, int64_t step_m, std::ostream& out)
{
    const LineTableSummary sum = summarise(table);
    out << "tabella della linea (_linea.dat): metri 0.." << sum.last_m << " (" << sum.last_m + 1
        << " punti per coordinata)\n";
    out << "x e y: coordinate in metri della pianta del binario al metro m del percorso; il binario parte da (0, 0) "
           "verso le y crescenti e si volta lungo le righe «curva» del file della linea\n";
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
