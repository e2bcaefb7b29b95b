#pragma once
// The shapes of the protocol the server writes: positions and ranges in the
// editor's units, and the check's diagnostics as the editor shows them.

#include "autore/diagnostics/diagnostic.hpp"
#include "autore/lsp/checked_pair.hpp"
#include "autore/lsp/positions.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace autore::lsp {

using nlohmann::json;

// The protocol's numbers: severities, the kinds of completion items and of
// the outline's symbols, the formats of inserted text.
inline constexpr int severity_error = 1;
inline constexpr int severity_warning = 2;
inline constexpr int severity_information = 3;

inline constexpr int item_module = 9;
inline constexpr int item_keyword = 14;
inline constexpr int format_plain = 1;
inline constexpr int format_snippet = 2;

inline constexpr int symbol_namespace = 3;
inline constexpr int symbol_class = 5;
inline constexpr int symbol_constant = 14;
inline constexpr int symbol_string = 15;
inline constexpr int symbol_event = 24;

json position_json(std::size_t line, uint32_t character);
json range_json(std::size_t line, uint32_t from, std::size_t end_line, uint32_t to);

// The range of a field of a source (1-based columns of the compile) in the
// editor's units; a place without a column covers its line, one without a
// line the first line.
json place_range(const Side& side, const tratta::SourcePlace& place, Encoding e);

// One diagnostic of the check, shown in one file of the pair (one about the
// scenario as a whole over that file's first line); the places that take part
// travel as related information, in whichever file they stand.
json diagnostic_json(const Diagnostic& d, const Analysis& a, const Side& shown_in, Encoding e);

// A diagnostic of the server itself, over the first line of a document.
json note_json(int severity, const std::string& code, const std::string& message);

} // namespace autore::lsp
