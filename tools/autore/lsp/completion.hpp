#pragma once
// Completion of the keys that the reader looks for where the cursor stands:
// the general keys inside the line file's general section, the body keys
// after it, the train keys in the train file; each with its fields to fill
// in, and the section headers beside them.

#include "autore/lsp/documents.hpp"

#include <nlohmann/json.hpp>

namespace autore::lsp {

// A CompletionList; empty where no key can stand (past a line's first field).
// `snippets`: the editor fills in placeholders, one for each field.
nlohmann::json completion(const Document& doc, int64_t line, int64_t character, Encoding e, bool snippets);

} // namespace autore::lsp
