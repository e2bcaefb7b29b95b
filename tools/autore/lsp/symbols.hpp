#pragma once
// The outline of a source file: its sections, and under them the stations,
// signals, slowdowns and sign boards, each at its line.

#include "autore/lsp/documents.hpp"

#include <nlohmann/json.hpp>

namespace autore::lsp {

// DocumentSymbol[] with the sections as parents, or, for an editor that
// takes no tree, SymbolInformation[] naming each one's section.
nlohmann::json document_symbols(const Document& doc, Encoding e, bool hierarchical);

} // namespace autore::lsp
