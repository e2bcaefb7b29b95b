#include "autore/lsp/symbols.hpp"

#include "autore/lsp/checked_pair.hpp"
#include "autore/lsp/protocol.hpp"
#include "autore/lsp/source_lines.hpp"
#include "autore/route/official_km.hpp"
#include "model/code_page.hpp"
#include "source/field_reader.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <optional>
#include <vector>

namespace autore::lsp {

namespace {

using tratta::KeySpec;
using tratta::SourceFile;

struct Outline {
    json symbol;
    std::vector<json> children;
};

std::string trimmed_utf8(std::string_view cp1252)
{
    const std::size_t a = cp1252.find_first_not_of(" \t");
    if (a == std::string_view::npos)
        return {};
    const std::size_t b = cp1252.find_last_not_of(" \t");
    return tratta::cp1252_to_utf8(cp1252.substr(a, b - a + 1));
}

// The value of a line's field, 1 being the first after the key.
std::optional<int64_t> number_of(const SourceLine& l, std::size_t field)
{
    if (field >= l.fields.size())
        return std::nullopt;
    return tratta::token_value(l.fields[field].token);
}

std::string text_of(const SourceLine& l, std::size_t field)
{
    return field < l.fields.size() ? trimmed_utf8(l.fields[field].token) : std::string();
}

// The name, kind and detail of a line that the outline shows; none for the others.
struct Entry {
    std::string name;
    int kind = 0;
    std::string detail;
    std::size_t selected = 0; // the field the editor selects
};

std::optional<Entry> entry_of(const SourceLine& l, const std::vector<Chainage>& chainages)
{
    namespace tk = tratta::train_keys;
    const KeySpec* k = l.key;
    if (k != &tk::station && k != &tk::signal && k != &tk::slowdown && k != &tratta::line_keys::sign_board)
        return std::nullopt;
    const auto at = number_of(l, 1);
    std::string where = at ? std::to_string(*at) + " m" : std::string();
    if (at && !chainages.empty())
        where += " · km " + km_text(official_km_m(chainages, *at));
    Entry e;
    e.detail = where;
    // A station and a sign board go by their own text, when they have one.
    const auto named = [&](std::size_t field, const char* otherwise, int kind) {
        e.name = text_of(l, field);
        e.selected = e.name.empty() ? 0 : field;
        if (e.name.empty())
            e.name = otherwise;
        e.kind = kind;
    };
    if (k == &tk::station) {
        named(17, "stazione", symbol_class);
    } else if (k == &tratta::line_keys::sign_board) {
        named(2, "cartello", symbol_string);
    } else if (k == &tk::signal) {
        e.name = "segnale" + (at ? " a " + std::to_string(*at) + " m" : std::string());
        e.kind = symbol_event;
    } else {
        const auto speed = number_of(l, 2);
        const auto length = number_of(l, 3);
        e.name = "rallentamento" + (speed ? " a " + std::to_string(*speed) + " km/h" : std::string());
        e.kind = symbol_constant;
        e.detail += length ? ", per " + std::to_string(*length) + " m" : std::string();
    }
    return e;
}

} // namespace

json document_symbols(const Document& doc, Encoding e, bool hierarchical)
{
    const SourceFile file = doc.role == Role::train ? SourceFile::train : SourceFile::line;
    const std::string bytes = tratta::utf8_to_cp1252(doc.text);
    const auto lines = scan_source(bytes, file);
    std::vector<Chainage> chainages;
    if (doc.analysis)
        chainages = chainages_of(doc.analysis->compiled().model.records);

    const auto line_range = [&](std::size_t from, std::size_t to) {
        return range_json(from, 0, to, doc.lines.units_before(doc.text, to, doc.text.size(), e));
    };
    const auto field_range = [&](const SourceLine& l, std::size_t field) {
        const auto n = static_cast<std::size_t>(l.number - 1);
        const LineField& f = l.fields[field];
        return range_json(n, doc.lines.units_before(doc.text, n, static_cast<std::size_t>(f.column - 1), e), n,
                          doc.lines.units_before(doc.text, n, static_cast<std::size_t>(f.end_column - 1), e));
    };

    std::vector<Outline> sections;
    std::vector<json> loose; // before the first header
    json flat = json::array();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& l = lines[i];
        if (l.header) {
            std::size_t last = i;
            while (last + 1 < lines.size() && !lines[last + 1].header)
                ++last;
            const std::string name = trimmed_utf8(l.fields[0].token);
            sections.push_back({{{"name", name},
                                 {"kind", symbol_namespace},
                                 {"range", line_range(i, last)},
                                 {"selectionRange", field_range(l, 0)}},
                                {}});
            flat.push_back({{"name", name},
                            {"kind", symbol_namespace},
                            {"location", {{"uri", doc.uri}, {"range", line_range(i, last)}}}});
            continue;
        }
        const auto entry = entry_of(l, chainages);
        if (!entry)
            continue;
        json symbol = {{"name", entry->name},
                       {"detail", entry->detail},
                       {"kind", entry->kind},
                       {"range", line_range(i, i)},
                       {"selectionRange", field_range(l, entry->selected)}};
        json info = {{"name", entry->name}, {"kind", entry->kind}, {"location", {{"uri", doc.uri}, {"range", line_range(i, i)}}}};
        if (!sections.empty())
            info["containerName"] = sections.back().symbol["name"];
        flat.push_back(std::move(info));
        (sections.empty() ? loose : sections.back().children).push_back(std::move(symbol));
    }
    if (!hierarchical)
        return flat;
    json tree = json::array();
    for (json& s : loose)
        tree.push_back(std::move(s));
    for (Outline& s : sections) {
        s.symbol["children"] = std::move(s.children);
        tree.push_back(std::move(s.symbol));
    }
    return tree;
}

} // namespace autore::lsp
