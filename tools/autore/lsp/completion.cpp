#include "autore/lsp/completion.hpp"

#include "autore/lsp/hover.hpp"
#include "autore/lsp/protocol.hpp"
#include "autore/lsp/source_lines.hpp"
#include "model/code_page.hpp"
#include "source/field_reader.hpp"
#include "source/line/line_keys.hpp"
#include "source/part_keys.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace autore::lsp {

namespace {

using tratta::KeySpec;
using tratta::SourceFile;
using tratta::TracePart;

constexpr std::string_view general_header = "[generale]";
constexpr std::string_view end_header = "[fine]";

// A snippet's placeholder: the field's name, without the commas that would
// split it into fields were it left as it stands ("$", "}" and "\" stand for
// themselves only escaped).
std::string placeholder(std::size_t n, std::string_view text)
{
    std::string out = "${" + std::to_string(n) + ":";
    for (const char c : text) {
        if (c == ',')
            continue;
        if (c == '$' || c == '}' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "}";
}

std::string snippet_of(const KeySpec& key)
{
    std::string text(key.key);
    std::size_t n = 1;
    // A curve's key carries its side ("s" left, "d" right) and its class, 1 to 6.
    if (&key == &tratta::line_keys::curve) {
        text += "${1|s,d|}${2|1,2,3,4,5,6|}";
        n = 3;
    }
    for (const auto& f : key.fields)
        text += ", " + placeholder(n++, f.name);
    return text;
}

std::string detail_of(const KeySpec& key)
{
    std::string text;
    for (const auto& f : key.fields) {
        text += (text.empty() ? "" : ", ") + std::string(f.name);
        if (!f.unit.empty())
            text += " (" + std::string(f.unit) + ")";
    }
    return text;
}

// The headers that can stand here: those the template writes for the keys
// of this part (in the general section, those that close it), and the end.
std::vector<std::string> headers_for(SourceFile file, TracePart part)
{
    std::vector<std::string> out;
    if (part == TracePart::preamble)
        return {std::string(general_header)};
    const auto keys = tratta::keys_of(file, part == TracePart::general ? TracePart::body : part);
    for (const KeySpec* k : keys)
        if (k->section != general_header && std::find(out.begin(), out.end(), k->section) == out.end())
            out.emplace_back(k->section);
    if (part == TracePart::body)
        out.emplace_back(end_header);
    return out;
}

} // namespace

nlohmann::json completion(const Document& doc, int64_t line, int64_t character, Encoding e, bool snippets)
{
    json list = {{"isIncomplete", false}, {"items", json::array()}};
    if (line < 0 || static_cast<std::size_t>(line) >= doc.lines.count())
        return list;
    const SourceFile file = doc.role == Role::train ? SourceFile::train : SourceFile::line;
    const std::string bytes = tratta::utf8_to_cp1252(doc.text);
    const auto lines = scan_source(bytes, file);
    const auto l = static_cast<std::size_t>(line);
    if (l >= lines.size())
        return list;
    const SourceLine& here = lines[l];
    const std::size_t chars = doc.lines.chars_before(doc.text, l, std::max<int64_t>(character, 0), e);
    const std::string_view before = here.text.substr(0, std::min(chars, here.text.size()));
    // A key is the first field of its line: the cursor stands in it until the
    // comma that ends it (a comma inside its quotes ends nothing).
    tratta::FieldReader first(before, file);
    if (!first.at_end())
        (void)first.read_written(tratta::FieldWidth::text);
    if (before.find(',', first.field_end()) != std::string_view::npos)
        return list;
    const std::size_t start = std::min(before.find_first_not_of(" \t"), before.size());
    const json range = range_json(l, doc.lines.units_before(doc.text, l, start, e), l,
                                  doc.lines.units_before(doc.text, l, chars, e));

    std::size_t order = 0;
    const auto add = [&](json item) {
        char sort[8];
        std::snprintf(sort, sizeof sort, "%04zu", order++);
        item["sortText"] = sort;
        list["items"].push_back(std::move(item));
    };
    if (here.part != TracePart::preamble)
        for (const KeySpec* k : tratta::keys_of(file, here.part)) {
            const bool snippet = snippets && !k->fields.empty();
            add({{"label", k->key},
                 {"kind", item_keyword},
                 {"detail", detail_of(*k)},
                 {"documentation", {{"kind", "markdown"}, {"value", key_markdown(*k)}}},
                 {"insertTextFormat", snippet ? format_snippet : format_plain},
                 {"textEdit", {{"range", range}, {"newText", snippet ? snippet_of(*k) : std::string(k->key) + ", "}}}});
        }
    for (const std::string& h : headers_for(file, here.part))
        add({{"label", h},
             {"kind", item_module},
             {"detail", "intestazione di sezione"},
             {"insertTextFormat", format_plain},
             {"textEdit", {{"range", range}, {"newText", h}}}});
    return list;
}

} // namespace autore::lsp
