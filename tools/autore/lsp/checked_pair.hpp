#pragma once
// One line file and one train file checked together, as the editor holds
// them or as they lie on disk: the shared analysis of the pair, and the two
// texts as the editor counts their places (lines and characters in its units).

#include "autore/analysis/scenario_analysis.hpp"
#include "autore/lsp/positions.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace autore::lsp {

// One source as the editor shows it.
struct Side {
    std::string uri;   // empty: no such file, an empty one stands in for it
    std::string utf8;  // the text as the editor shows it
    LineIndex lines;   // of utf8
    std::string bytes; // the same text in Windows-1252, as the compile reads it (handed to the analysis)

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
    std::shared_ptr<const ScenarioAnalysis> scenario;

    const Side& side(tratta::SourceFile file) const { return file == tratta::SourceFile::train ? train : line; }
    // The bytes the compile read of one source.
    std::string_view source(tratta::SourceFile file) const
    {
        return file == tratta::SourceFile::train ? scenario->request.train_source : scenario->request.line_source;
    }
    const tratta::CompileResult& compiled() const { return scenario->compiled; }
};

// The pair analysed (or found analysed with the same texts in the cache).
std::shared_ptr<const Analysis> check_pair(AnalysisCache& cache, Side line, Side train, std::string scenario_name,
                                           std::string train_name);

} // namespace autore::lsp
