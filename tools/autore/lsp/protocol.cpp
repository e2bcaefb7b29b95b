#include "autore/lsp/protocol.hpp"

#include <algorithm>

namespace autore::lsp {

json position_json(std::size_t line, uint32_t character) { return {{"line", line}, {"character", character}}; }

json range_json(std::size_t line, uint32_t from, std::size_t end_line, uint32_t to)
{
    return {{"start", position_json(line, from)}, {"end", position_json(end_line, to)}};
}

json place_range(const Side& side, const tratta::SourcePlace& place, Encoding e)
{
    const std::size_t last = side.lines.count() - 1;
    const std::size_t line = place.line > 0 ? std::min<std::size_t>(static_cast<std::size_t>(place.line - 1), last) : 0;
    const uint32_t whole = side.lines.units_before(side.utf8, line, side.utf8.size(), e);
    if (place.line <= 0 || place.column <= 0)
        return range_json(line, 0, line, whole);
    const auto from = static_cast<std::size_t>(place.column - 1);
    // A field is at least one character wide, so that the editor can mark it.
    const std::size_t to = std::max(from + 1, static_cast<std::size_t>(std::max(place.end_column - 1, 0)));
    return range_json(line, side.lines.units_before(side.utf8, line, from, e), line,
                      side.lines.units_before(side.utf8, line, to, e));
}

json diagnostic_json(const Diagnostic& d, const Analysis& a, const Side& shown_in, Encoding e)
{
    const Side& own = d.place.file == tratta::SourceFile::none ? shown_in : a.side(d.place.file);
    json out = {{"range", place_range(own, d.place, e)},
                {"severity", d.is_error() ? severity_error : severity_warning},
                {"code", d.code},
                {"source", "autore"},
                {"message", d.message}};
    json related = json::array();
    for (const RelatedPlace& r : d.related) {
        const Side& side = a.side(r.place.file);
        if (side.stand_in() || r.place.file == tratta::SourceFile::none)
            continue;
        related.push_back({{"location", {{"uri", side.uri}, {"range", place_range(side, r.place, e)}}},
                           {"message", r.message}});
    }
    if (!related.empty())
        out["relatedInformation"] = std::move(related);
    return out;
}

json note_json(int severity, const std::string& code, const std::string& message)
{
    return {{"range", range_json(0, 0, 0, 0)},
            {"severity", severity},
            {"code", code},
            {"source", "autore"},
            {"message", message}};
}

} // namespace autore::lsp
