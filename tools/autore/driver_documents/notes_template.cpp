#include "autore/driver_documents/notes_template.hpp"

#include "autore/driver_documents/time_text.hpp"
#include "model/code_page.hpp"

#include <algorithm>

namespace autore {

namespace {

constexpr std::size_t line_width = 96;
constexpr const char* to_fill = "....";

// One paragraph (Windows-1252) as lines: the first indented by two blanks,
// broken between words, no line ending in a blank. A word longer than a line
// stands alone on its line.
void wrap(const std::string& text, std::vector<std::string>& lines)
{
    std::string line = "  ";
    bool line_has_word = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find(' ', i), text.size());
        const std::string word = text.substr(i, end - i);
        i = end + 1;
        if (word.empty())
            continue;
        if (line_has_word && line.size() + 1 + word.size() > line_width) {
            lines.push_back(line);
            line.clear();
            line_has_word = false;
        }
        if (line_has_word)
            line += ' ';
        line += word;
        line_has_word = true;
    }
    if (line_has_word)
        lines.push_back(line);
}

std::string utf8(const std::string& cp1252) { return tratta::cp1252_to_utf8(cp1252); }

std::string count_or_dots(int32_t n) { return n > 0 ? std::to_string(n) : to_fill; }

// "332,750": kilometres written with the decimal comma of Italian prose.
std::string prose_km(int64_t metres)
{
    std::string text = km_text(metres);
    if (const auto dot = text.find('.'); dot != std::string::npos)
        text[dot] = ',';
    return text;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " e " : ", ";
        out += names[i];
    }
    return out;
}

} // namespace

std::vector<std::string> notes_template_lines(const DocumentData& d, const TimetablePlan& plan)
{
    std::vector<std::size_t> run;
    for (std::size_t i = 0; i < plan.stations.size(); ++i)
        if (plan.stations[i].in_run)
            run.push_back(i);
    const std::string train = utf8(d.train);

    std::vector<std::string> paragraphs;
    if (run.size() >= 2) {
        const auto time_at = [&](std::size_t i) {
            const auto& t = plan.stations[i].time_s;
            return t ? clock_text(*t) : std::string(to_fill);
        };
        const TimedStation& first = d.stations[run.front()];
        const TimedStation& last = d.stations[run.back()];
        paragraphs.push_back("Il " + train + " parte da " + utf8(first.name) + " alle " + time_at(run.front()) +
                             " e arriva a " + utf8(last.name) + " alle " + time_at(run.back()) + ", dopo " +
                             prose_km(last.at_m - first.at_m) + " chilometri di percorso sulla linea dello scenario " +
                             utf8(d.scenario) + ".");
    } else {
        paragraphs.push_back("Il " + train + " percorre la linea dello scenario " + utf8(d.scenario) + ".");
    }
    paragraphs.push_back("La composizione è di " + count_or_dots(d.coaches) + " vetture; la massa bloccata è di " +
                         to_fill +
                         " tonnellate, a cui va aggiunta quella della locomotiva; la percentuale di massa "
                         "frenata è del " +
                         count_or_dots(d.braked_mass_pct) + "%, la stessa scritta nella scheda treno.");
    std::vector<std::string> stops;
    for (std::size_t k = 1; k + 1 < run.size(); ++k)
        if (plan.stations[run[k]].stops)
            stops.push_back(utf8(d.stations[run[k]].name));
    paragraphs.push_back(stops.empty() ? "Il treno non ha fermate lungo il percorso."
                                       : "Il treno si ferma a " + joined(stops) + ".");
    paragraphs.push_back("(Da completare a cura dell'autore: la storia del treno e del suo servizio, le particolarità "
                         "del percorso e ciò che il macchinista deve sapere prima di partire.)");

    std::vector<std::string> lines;
    for (const std::string& p : paragraphs)
        wrap(tratta::utf8_to_cp1252(p), lines);
    lines.emplace_back("  L'autore dello scenario");
    lines.emplace_back("  (indirizzo di posta elettronica)");
    return lines;
}

} // namespace autore
