#pragma once
// One line file and one train file checked together, as the editor holds
// them or as they lie on disk: what the compile made of them (for hovers),
// and every diagnostic of the check.

#include "autore/diagnostics/diagnostic.hpp"
#include "autore/lsp/positions.hpp"
#include "compile/compile.hpp"

#include <memory>
#include <string>
#include <vector>

namespace autore::lsp {

// One source as the compile read it, and the text its places are counted in.
struct Side {
    std::string uri;   // empty: no such file, an empty one stands in for it
    std::string utf8;  // the text as the editor shows it
    LineIndex lines;   // of utf8
    std::string bytes; // the same text in Windows-1252, as the compile read it

    bool stand_in() const { return uri.empty(); }

    // A document the editor holds (UTF-8).
    static Side of_editor(std::string uri, std::string utf8);
    // A file read from disk (Windows-1252).
    static Side of_disk(std::string uri, std::string bytes);
    // The train file that stands in when a line file has none: it holds no line.
    static Side empty_train();
};

struct Analysis {
    Side line;
    Side train;
    std::string scenario_name; // Windows-1252
    std::string train_name;
    tratta::CompileResult compiled; // its fields refer to line.bytes and train.bytes
    std::vector<Diagnostic> diagnostics;

    const Side& side(tratta::SourceFile file) const { return file == tratta::SourceFile::train ? train : line; }
};

// Compiles and checks the pair. With a stand-in train file only what the
// line file says of itself is kept: nothing is compared with a train.
std::shared_ptr<const Analysis> analyse(Side line, Side train, std::string scenario_name, std::string train_name);

} // namespace autore::lsp
