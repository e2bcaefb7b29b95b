#pragma once
// One analysis of a scenario's two sources, shared by `check`, the language
// server, `view --sources` and `serve`: what the compile made of the line
// file and the train file, and every diagnostic an author is shown about
// them. It speaks no protocol and writes nothing; each subcommand turns it
// into its own output. An analysis is made once for the same texts and kept:
// an editor that asks again about a pair it has not changed, or a page
// reloaded on a save that changed nothing, gets the kept one.

#include "autore/analysis/check.hpp"
#include "compile/compile.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace autore {

// What is to be analysed: the two texts as the program reads them.
struct AnalysisRequest {
    std::string line_source;   // Windows-1252 bytes
    std::string train_source;  // Windows-1252 bytes
    std::string scenario_name; // Windows-1252 bytes
    std::string train_name;
    // The train file is a stand-in (a line file edited with no train file
    // beside it): only what the line file says of itself is kept.
    bool stand_in_train = false;
    // Also lay the line table, the route metre by metre: only where the route
    // is drawn or the binaries are compared. Without it the track plan is
    // still walked (its errors are the same) but nothing is kept.
    bool line_table = false;

    bool operator==(const AnalysisRequest&) const = default;
};

struct ScenarioAnalysis {
    AnalysisRequest request;        // the texts the compile's places and fields point into
    tratta::CompileResult compiled; // its files only with `line_table`
    CheckReport report;             // exactly what `autore check` reports
    // What an author editing the files is shown: the report's diagnostics,
    // led by what keeps the program from writing any file when no error says
    // it, and closed by a note when the search for hidden errors stopped early.
    std::vector<Diagnostic> diagnostics;
};

// Compiles and checks the pair, with nothing kept.
std::shared_ptr<const ScenarioAnalysis> analyse_scenario(AnalysisRequest request);

// The analyses of the last few pairs, found again by their texts. One thread
// at a time uses a cache.
class AnalysisCache {
public:
    explicit AnalysisCache(std::size_t kept = 8) : kept_(kept) {}

    // The analysis of these texts: the kept one, or a new one.
    std::shared_ptr<const ScenarioAnalysis> analyse(AnalysisRequest request);

    std::size_t made() const { return made_; } // analyses worked out, not found kept

private:
    std::size_t kept_;
    std::size_t made_ = 0;
    std::vector<std::shared_ptr<const ScenarioAnalysis>> recent_; // the most recently used first
};

// Partner files read from disk, read again only when their modification time
// or size has changed since: a train file beside an edited line file is read
// once, not at every change. One thread at a time uses it.
class SourceFileCache {
public:
    // The file's bytes; none when it is missing, not a regular file, cannot be
    // read or holds more than `limit` bytes.
    std::optional<std::string> read(const std::filesystem::path& file, std::size_t limit);

    std::size_t reads() const { return reads_; } // files read from the disk, not found kept

private:
    struct Kept {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        std::string bytes;
    };
    std::map<std::filesystem::path, Kept> kept_;
    std::size_t reads_ = 0;
};

} // namespace autore
