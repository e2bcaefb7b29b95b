#include "autore/lsp/source_lines.hpp"

#include "model/code_page.hpp"
#include "source/keys.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <string>

namespace autore::lsp {

namespace {

using tratta::FieldWidth;
using tratta::KeySpec;
using tratta::SourceFile;
using tratta::TracePart;

constexpr std::string_view general_header = "[generale]";

bool blank(char c) { return c == ' ' || c == '\t'; }

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

// Reads the fields of one line as the reader reads them.
class LineFields {
public:
    explicit LineFields(std::string_view line) : line_(line) {}

    bool at_end() const { return pos_ >= line_.size(); }

    LineField text()
    {
        skip_blanks();
        const std::size_t start = pos_;
        if (pos_ < line_.size() && line_[pos_] == '"') {
            const std::size_t close = line_.find('"', pos_ + 1);
            const std::size_t end = close == std::string_view::npos ? line_.size() : close;
            const LineField f = field(start, end + (close == std::string_view::npos ? 0 : 1), pos_ + 1, end);
            const std::size_t comma = line_.find(',', end);
            pos_ = comma == std::string_view::npos ? line_.size() : comma + 1;
            return f;
        }
        std::size_t end = pos_;
        while (end < line_.size() && line_[end] != ',')
            ++end;
        std::size_t last = end;
        while (last > start && blank(line_[last - 1]))
            --last;
        pos_ = end < line_.size() ? end + 1 : end;
        return field(start, last, start, last);
    }

    LineField number()
    {
        skip_blanks();
        const std::size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ',' && !blank(line_[pos_]))
            ++pos_;
        const LineField f = field(start, pos_, start, pos_);
        skip_blanks();
        if (pos_ < line_.size() && line_[pos_] == ',')
            ++pos_;
        return f;
    }

private:
    void skip_blanks()
    {
        while (pos_ < line_.size() && blank(line_[pos_]))
            ++pos_;
    }
    LineField field(std::size_t from, std::size_t to, std::size_t token_from, std::size_t token_to) const
    {
        return {static_cast<int32_t>(from) + 1, static_cast<int32_t>(to) + 1,
                line_.substr(token_from, token_to - token_from)};
    }

    std::string_view line_;
    std::size_t pos_ = 0;
};

SourceLine read_line(std::string_view text, int32_t number, SourceFile file, TracePart part)
{
    SourceLine line;
    line.number = number;
    line.part = part;
    line.text = text;
    LineFields in(text);
    const LineField first = in.text();
    line.fields.push_back(first);
    line.header = is_header(first.token);
    if (line.header || tratta::is_comment(first.token) || part == TracePart::preamble)
        return line;
    const std::string written = folded(first.token);
    for (const KeySpec* k : keys_of(file, part))
        if (names_key(written, *k)) {
            line.key = k;
            break;
        }
    if (line.key == nullptr)
        return line;
    for (const auto& field : line.key->fields) {
        if (in.at_end())
            break;
        line.fields.push_back(field.width == FieldWidth::text ? in.text() : in.number());
    }
    return line;
}

} // namespace

std::span<const KeySpec* const> keys_of(SourceFile file, TracePart part)
{
    if (file == SourceFile::train)
        return tratta::train_keys::all();
    return part == TracePart::general ? tratta::line_keys::general() : tratta::line_keys::body();
}

std::vector<SourceLine> scan_source(std::string_view bytes, SourceFile file)
{
    std::vector<SourceLine> lines;
    TracePart part = TracePart::preamble;
    int32_t number = 1;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        SourceLine line = read_line(bytes.substr(start, end - start), number, file, part);
        // The general section begins after "[generale]"; in the line file it
        // ends at the first header after it, and the body follows.
        if (part == TracePart::preamble && tratta::contains_nocase(line.text, general_header))
            part = file == SourceFile::line ? TracePart::general : TracePart::body;
        else if (part == TracePart::general && line.header)
            part = TracePart::body;
        lines.push_back(std::move(line));
        if (end >= bytes.size())
            break;
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
        ++number;
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
