#include "autore/lsp/source_lines.hpp"

#include "model/code_page.hpp"
#include "source/field_reader.hpp"
#include "source/keys.hpp"
#include "source/part_keys.hpp"

#include <string>

namespace autore::lsp {

namespace {

using tratta::FieldWidth;
using tratta::KeySpec;
using tratta::SourceFile;
using tratta::TracePart;

constexpr std::string_view general_header = "[generale]";

// Lower case with the accents of the vowels dropped, so that "Velocità"
// names the key "velocita".
std::string folded(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(tratta::lower_cp1252(ch));
        if (c >= 0xE0 && c <= 0xE6)
            out.push_back('a');
        else if (c >= 0xE8 && c <= 0xEB)
            out.push_back('e');
        else if (c >= 0xEC && c <= 0xEF)
            out.push_back('i');
        else if (c >= 0xF2 && c <= 0xF6)
            out.push_back('o');
        else if (c >= 0xF9 && c <= 0xFC)
            out.push_back('u');
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

// A key names a line kind when it holds every word of the key as the
// template writes it, its digits aside ("ripetizione segnali 4 codici" is the
// repetition key, "curvad3" a curve).
bool names_key(std::string_view written, const KeySpec& key)
{
    std::string_view rest = key.key;
    bool any = false;
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of(" _");
        const std::string_view word = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
        if (word.empty() || word.find_first_not_of("0123456789") == std::string_view::npos)
            continue;
        if (written.find(word) == std::string_view::npos)
            return false;
        any = true;
    }
    return any;
}

bool is_header(std::string_view field)
{
    return field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos &&
           !tratta::is_comment(field);
}

// One line's fields, read by the compile's own field reader over that line
// alone: the same quotes, blanks and commas, but values never taken from the
// next line.
LineField written(const tratta::FieldReader& in, std::string_view token)
{
    const tratta::SourcePlace& at = in.field_place();
    return {at.column, at.end_column, token};
}

SourceLine read_line(std::string_view text, int32_t number, SourceFile file, TracePart part)
{
    SourceLine line;
    line.number = number;
    line.part = part;
    line.text = text;
    tratta::FieldReader in(text, file, number);
    // An empty line is one empty field.
    const LineField first = in.at_end() ? LineField{1, 1, {}} : written(in, in.read_written(FieldWidth::text));
    line.fields.push_back(first);
    line.header = is_header(first.token);
    if (line.header || tratta::is_comment(first.token) || part == TracePart::preamble)
        return line;
    const std::string named = folded(first.token);
    for (const KeySpec* k : tratta::keys_of(file, part))
        if (names_key(named, *k)) {
            line.key = k;
            break;
        }
    if (line.key == nullptr)
        return line;
    for (const auto& field : line.key->fields) {
        if (in.at_end())
            break;
        const std::string_view token = in.read_written(field.width);
        line.fields.push_back(written(in, token));
    }
    return line;
}

} // namespace

std::vector<SourceLine> scan_source(std::string_view bytes, SourceFile file)
{
    std::vector<SourceLine> lines;
    TracePart part = TracePart::preamble;
    int32_t number = 1;
    for (const tratta::LineSpan& span : tratta::line_spans(bytes)) {
        SourceLine line = read_line(span.text_of(bytes), number++, file, part);
        // The general section begins after "[generale]"; in the line file it
        // ends at the first header after it, and the body follows.
        if (part == TracePart::preamble && tratta::contains_nocase(line.text, general_header))
            part = file == SourceFile::line ? TracePart::general : TracePart::body;
        else if (part == TracePart::general && line.header)
            part = TracePart::body;
        lines.push_back(std::move(line));
    }
    return lines;
}

int field_under(const SourceLine& line, int32_t column)
{
    int found = -1;
    for (std::size_t i = 0; i < line.fields.size(); ++i) {
        const LineField& f = line.fields[i];
        if (column >= f.column && column < f.end_column)
            return static_cast<int>(i);
        if (column == f.end_column && f.end_column > f.column)
            found = static_cast<int>(i);
    }
    return found;
}

} // namespace autore::lsp
