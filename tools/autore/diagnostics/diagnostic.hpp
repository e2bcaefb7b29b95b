#pragma once
// One finding about an author's scenario: an error that the compile records,
// or a warning about something the reader accepts but an author almost surely
// did not mean. Each stands at the field it concerns, with the places that
// take part in it beside it.

#include "model/code_page.hpp"
#include "model/error_meanings.hpp"
#include "model/source_places.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autore {

enum class Severity : uint8_t { error, warning };

// A second place that takes part: the object already on a cell, the curve
// that overlaps.
struct RelatedPlace {
    tratta::SourcePlace place;
    std::string message;
};

struct Diagnostic {
    Severity severity = Severity::error;
    std::string code;            // the error number ("21"), or the rule's name ("numero-malformato")
    tratta::SourcePlace place;   // file none: the scenario as a whole
    std::optional<int64_t> at_m; // the chainage it concerns, where there is one
    std::string message;         // one line, Italian, UTF-8
    std::vector<RelatedPlace> related;

    bool is_error() const { return severity == Severity::error; }
    // An error of the program's with this number.
    bool is(tratta::ErrorNumber e) const
    {
        return severity == Severity::error && code == std::to_string(tratta::number_of(e));
    }
};

std::string_view severity_word(Severity s); // "error", "warning"

// A field of a source as a message quotes it, «2°»: the Windows-1252 bytes of
// the author's file turned into UTF-8 here, where they enter a message, and a
// byte that shows no character written visibly.
inline std::string quoted_field(std::string_view bytes) { return "«" + tratta::cp1252_shown(bytes) + "»"; }

// A warning of a rule at a place.
inline Diagnostic warning_at(const tratta::SourcePlace& place, std::string code, std::string message)
{
    Diagnostic d;
    d.severity = Severity::warning;
    d.code = std::move(code);
    d.place = place;
    d.message = std::move(message);
    return d;
}

} // namespace autore
