#include "autore/lsp/documents.hpp"

#include "app/files.hpp"
#include "autore/lsp/uri.hpp"
#include "source/keys.hpp"
#include "source/line/line_keys.hpp"

#include <algorithm>
#include <utility>

namespace autore::lsp {

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view train_suffix = "-.txt";

} // namespace

Role role_of(std::string_view name, std::string_view cp1252_text)
{
    if (name.ends_with(line_suffix))
        return Role::line;
    if (name.ends_with(train_suffix))
        return Role::train;
    // The route length stands in the general section, near the top.
    const std::string_view head = cp1252_text.substr(0, std::min<std::size_t>(cp1252_text.size(), 1 << 16));
    return tratta::contains_nocase(head, tratta::line_keys::route_length.key) ? Role::line : Role::train;
}

Document::Document(std::string uri_, std::string text_, int64_t version_)
    : uri(std::move(uri_)), version(version_), name(name_of_uri(uri)), path(path_of_uri(uri))
{
    const std::size_t slash = uri.find_last_of('/');
    folder = path ? tratta::display_path(path->parent_path()) : uri.substr(0, slash == std::string::npos ? 0 : slash + 1);
    set_text(std::move(text_));
}

void Document::set_text(std::string t)
{
    text = std::move(t);
    lines = LineIndex(text);
}

void apply_change(Document& doc, const TextChange& change, Encoding e)
{
    if (!change.range) {
        doc.set_text(change.text);
        return;
    }
    const auto& [from, to] = *change.range;
    std::size_t a = doc.lines.offset_of(doc.text, from.line, from.character, e);
    std::size_t b = doc.lines.offset_of(doc.text, to.line, to.character, e);
    if (b < a)
        std::swap(a, b);
    std::string text = doc.text;
    text.replace(a, b - a, change.text);
    doc.set_text(std::move(text));
}

} // namespace autore::lsp
