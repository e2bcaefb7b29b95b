#include "autore/lsp/hover.hpp"

#include "autore/route/objects.hpp"
#include "autore/lsp/protocol.hpp"
#include "autore/route/official_km.hpp"
#include "autore/route/object_words.hpp"
#include "model/code_page.hpp"
#include "model/nearest.hpp"

namespace autore::lsp {

namespace {

using tratta::FieldSpec;
using tratta::FieldWidth;
using tratta::KeySpec;
using tratta::SourceFile;

// Text of the file shown as code: no backquote can close it early.
std::string code(std::string_view cp1252)
{
    std::string t = tratta::cp1252_to_utf8(cp1252);
    for (char& c : t)
        if (c == '`')
            c = '\'';
    return "`" + t + "`";
}

// How the reader takes a field: a text, or a whole number of a width.
std::string values_of(const FieldSpec& f)
{
    if (f.width == FieldWidth::text)
        return "testo";
    return std::string(tratta::width_name(f.width)) + " (da " + std::to_string(tratta::width_min(f.width)) + " a " +
           std::to_string(tratta::width_max(f.width)) + ")";
}

std::string field_title(const FieldSpec& f)
{
    std::string t = "**" + std::string(f.name) + "**";
    if (!f.unit.empty())
        t += " (" + std::string(f.unit) + ")";
    return t;
}

std::string file_words(SourceFile file) { return file == SourceFile::train ? "del file del treno" : "del file della linea"; }

// The official kilometre of a place and the object that stands in its cell.
std::string chainage_markdown(int64_t position, const Analysis& a)
{
    const tratta::RunState& m = a.compiled().model;
    std::string text = "Chilometro ufficiale: **km " + km_text(official_km_m(chainages_of(m.records), position)) + "**";
    if (!m.cells.exists())
        return text + "\n\nNessuna griglia del percorso: la linea non è stata letta fino alla sua lunghezza.";
    // A point object at a place stands in the cell after the one that holds it.
    const int64_t cell = tratta::cell_after(position);
    const std::string cell_text = "cella " + std::to_string(cell) + " (" + std::to_string(cell * 50) + " m)";
    if (!m.cells.contains(cell))
        return text + "\n\nLa " + cell_text + " è oltre la fine della griglia (ultima cella " +
               std::to_string(m.cells.last()) + ", " + std::to_string(int64_t{m.cells.last()} * 50) + " m).";
    const tratta::RouteCell& c = m.cells.at(cell);
    if (c.kind == tratta::kind_none)
        return text + "\n\nNella " + cell_text + " della griglia non c'è alcun oggetto.";
    text += "\n\nNella " + cell_text + " della griglia: " + std::string(object_phrase(c.kind));
    const auto index = static_cast<std::size_t>(cell);
    if (index < m.cell_origins.size() && m.cell_origins[index].known()) {
        const tratta::SourcePlace& from = m.cell_origins[index];
        text += ", dalla riga " + std::to_string(from.line) + " " + file_words(from.file);
    }
    text += ".";
    // The cell's own number is already said.
    for (const std::string& w : describe_cell(c, index, m.records).words)
        if (!w.starts_with("cella "))
            text += "\n- " + w;
    return text;
}

} // namespace

std::string key_markdown(const KeySpec& key)
{
    std::string text = "**" + std::string(key.key) + "**: " + std::string(key.meaning) + "\n\nSezione " + code(key.section) +
                       ". Campi dopo la chiave, in ordine:\n";
    for (std::size_t i = 0; i < key.fields.size(); ++i) {
        const FieldSpec& f = key.fields[i];
        text += "\n" + std::to_string(i + 1) + ". " + field_title(f) + ": " + values_of(f);
        if (!f.meaning.empty())
            text += "; " + std::string(f.meaning);
    }
    return text;
}

std::string field_markdown(const FieldAt& at, const Analysis* a)
{
    if (at.index < 0) {
        std::string text = key_markdown(*at.key);
        if (at.matches > 1)
            text += "\n\nQuesta chiave è letta come " + std::to_string(at.matches) + " righe diverse.";
        if (!at.read)
            text += "\n\nLa lettura del file si è fermata prima di questa riga.";
        return text;
    }
    const FieldSpec& f = at.key->fields[static_cast<std::size_t>(at.index)];
    std::string text = field_title(f) + ": campo " + std::to_string(at.index + 1) + " di " +
                       std::to_string(at.key->fields.size()) + " di «" + std::string(at.key->key) + "»\n\n" +
                       values_of(f);
    if (!f.meaning.empty())
        text += "; " + std::string(f.meaning);
    text += "\n\nScritto " + code(at.token);
    if (at.value) {
        text += ", vale " + std::to_string(*at.value);
        if (*at.value < tratta::width_min(f.width) || *at.value > tratta::width_max(f.width))
            text += ": fuori dai valori del campo, un errore di lettura";
    }
    text += at.read ? "." : " (la lettura del file si è fermata prima di questa riga).";
    if (a != nullptr && at.value && is_position(f))
        text += "\n\n" + chainage_markdown(*at.value, *a);
    return text;
}

std::optional<nlohmann::json> hover(const Document& doc, int64_t line, int64_t character, Encoding e)
{
    if (line < 0 || static_cast<std::size_t>(line) >= doc.lines.count() || character < 0)
        return std::nullopt;
    const Analysis* a = doc.analysis.get();
    const SourceFile file = doc.role == Role::train ? SourceFile::train : SourceFile::line;
    const auto l = static_cast<std::size_t>(line);
    const auto column = static_cast<int32_t>(doc.lines.chars_before(doc.text, l, character, e)) + 1;
    const std::string bytes = a != nullptr ? std::string() : tratta::utf8_to_cp1252(doc.text);
    const auto at = field_at(a, a != nullptr ? a->source(file) : std::string_view(bytes), file,
                             static_cast<int32_t>(line) + 1, column);
    if (!at)
        return std::nullopt;
    std::optional<Side> own;
    const Side& side = a != nullptr ? a->side(file) : own.emplace(Side::of_editor(doc.uri, doc.text));
    return nlohmann::json{{"contents", {{"kind", "markdown"}, {"value", field_markdown(*at, a)}}},
                          {"range", place_range(side, at->place, e)}};
}

} // namespace autore::lsp
