// The files as wholes: one that stops short of its "[fine]", one saved as UTF-8.
#include "autore/analysis/rules.hpp"

#include "model/code_page.hpp"
#include "source/line_ends.hpp"

#include <string>

namespace autore {

namespace {

using tratta::SourceFile;
using tratta::SourcePlace;

// A word ends at a blank, a comma or a line end.
bool word_end(std::string_view t, std::size_t i) { return t[i] == ' ' || t[i] == ',' || tratta::line_end_length(t, i) != 0; }

// The place of byte i, its line counted as the reader counts lines.
SourcePlace place_of(std::string_view t, std::size_t i, SourceFile file)
{
    const auto at = tratta::line_column_of(t, i);
    return {file, at.line, at.column, at.column};
}

void warn(std::vector<Diagnostic>& out, const SourcePlace& at, const char* code, std::string message)
{
    out.push_back(warning_at(at, code, std::move(message)));
}

// A file whose letters are UTF-8 reads each of them as two or three
// characters: a letter such as "à" becomes "Ã" and a sign, which no Italian
// text holds.
void utf8_text(std::string_view t, SourceFile file, std::vector<Diagnostic>& out)
{
    std::size_t first = t.size();
    for (std::size_t i = 0; i < t.size() && first == t.size(); ++i)
        if (static_cast<unsigned char>(t[i]) >= 0x80 && tratta::utf8_sequence_length(t, i) > 0)
            first = i;
    if (first == t.size())
        return;
    std::size_t from = first;
    while (from > 0 && !word_end(t, from - 1))
        --from;
    std::size_t to = first;
    while (to < t.size() && !word_end(t, to))
        ++to;
    const std::string_view word = t.substr(from, to - from);
    warn(out, place_of(t, first, file), "codifica-utf8",
         "testo salvato in UTF-8, ma il file si legge in Windows-1252: «" + tratta::utf8_shown(word) + "» diventa " +
             quoted_field(word) + "; salvare il file in Windows-1252 (ANSI)");
}

// The last line of a file is "[fine]"; a file that stops before it is likely cut short.
void ends_with_fine(std::string_view t, SourceFile file, std::vector<Diagnostic>& out)
{
    // The last line that holds more than blanks, walked to line by line.
    tratta::LineSpan last;
    for (tratta::LineSpan line = tratta::line_at(t, 0);; line = tratta::line_at(t, line.next)) {
        if (line.text_of(t).find_first_not_of(" \t") != std::string_view::npos)
            last = line;
        if (line.next == line.end)
            break;
    }
    const std::string_view text = last.text_of(t);
    const std::size_t a = text.find_first_not_of(" \t");
    const std::string_view written = a == std::string_view::npos ? std::string_view{} : text.substr(a, text.find_last_not_of(" \t") + 1 - a);
    if (tratta::lower_cp1252(written) == "[fine]")
        return;
    warn(out, place_of(t, last.start, file), "file-troncato",
         "il file non finisce con la riga «[fine]»: forse è stato troncato, e ciò che manca non viene letto");
}

} // namespace

void file_rules(const CheckedSources& sources, std::vector<Diagnostic>& out)
{
    for (auto [text, file] : {std::pair{sources.line, SourceFile::line}, std::pair{sources.train, SourceFile::train}}) {
        ends_with_fine(text, file, out);
        utf8_text(text, file, out);
    }
}

} // namespace autore
