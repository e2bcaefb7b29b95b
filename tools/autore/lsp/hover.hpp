#pragma once
// What the editor shows over a field: for a key, what the line is on the
// railway and its fields in order; for a value, the field and what was read;
// for a place along the route, its official kilometre and what stands in the
// route grid there once compiled.

#include "autore/lsp/documents.hpp"
#include "autore/lsp/field_at.hpp"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace autore::lsp {

// The Markdown text of a key: its meaning and its fields.
std::string key_markdown(const tratta::KeySpec& key);

// The Markdown text of a field under the cursor.
std::string field_markdown(const FieldAt& at, const Analysis* analysis);

// The Hover of the protocol at an editor's position, or none.
std::optional<nlohmann::json> hover(const Document& doc, int64_t line, int64_t character, Encoding e);

} // namespace autore::lsp
