#pragma once
// The open documents and their partners: a line file and the train files of
// the same scenario in the same folder are checked together, an open
// document standing in for its file on disk. Each check's diagnostics go to
// every open document it read.
//
// The checks of the documents changed since the last ones run as a round: a
// copy of what the editor holds, checked apart from the workspace (on a
// thread of its own while the server answers other requests), then handed
// back; the result of a document changed again meanwhile is stale and
// dropped, and the document is checked again in the next round.

#include "autore/analysis/scenario_analysis.hpp"
#include "autore/lsp/checked_pair.hpp"
#include "autore/lsp/disk.hpp"
#include "autore/lsp/documents.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace autore::lsp {

// The largest document checked; a larger one gets one diagnostic that says so.
inline constexpr std::size_t default_max_document = std::size_t{4} << 20;

// The diagnostics of one document, as the editor is to be told them.
struct Publication {
    std::string uri;
    std::optional<int64_t> version;
    nlohmann::json diagnostics; // an array of LSP Diagnostic
};

// One round of checks, made by Workspace::begin_round. Its run touches
// nothing of the workspace but the disk and the caches, which nothing else
// uses while a round runs.
class CheckRound {
public:
    void run();

private:
    friend class Workspace;

    // An open document as the round read it.
    struct Copy {
        std::string uri;
        std::string text; // UTF-8
        std::string name;
        std::optional<std::filesystem::path> path;
        std::string folder;
        Role role = Role::line;
        std::optional<int64_t> version;
        uint64_t generation = 0;
        bool to_check = false;
    };
    // A partner of a document: another open document, or a file on disk.
    struct Partner {
        std::string uri;
        std::string name;
        const Copy* open = nullptr;
        std::filesystem::path path;
    };
    struct Result {
        Publication publication;
        std::shared_ptr<const Analysis> analysis;
    };

    bool too_large(const Copy& doc) const { return doc.text.size() > max_document_; }
    Result check_one(const Copy& doc);
    std::vector<Partner> partners_of(const Copy& doc, Role role) const;
    std::optional<Side> side_of(const Partner& p) const;
    std::shared_ptr<const Analysis> analysis_of(Side line, Side train, const std::string& scenario,
                                                const std::string& train_name);

    std::vector<Copy> docs_; // every open document, by URI
    const Disk* disk_ = nullptr;
    AnalysisCache* cache_ = nullptr;
    Encoding encoding_ = Encoding::utf16;
    std::size_t max_document_ = default_max_document;
    // Each pair of files is checked once in a round.
    std::map<std::string, std::shared_ptr<const Analysis>> done_;
    std::vector<Result> results_; // one for each document to check, in order
};

class Workspace {
public:
    explicit Workspace(std::unique_ptr<Disk> disk, std::size_t max_document = default_max_document);

    void set_encoding(Encoding e) { encoding_ = e; }
    Encoding encoding() const { return encoding_; }

    void open(const std::string& uri, std::string text, int64_t version);
    // False when the document is not open.
    bool change(const std::string& uri, const std::vector<TextChange>& changes, std::optional<int64_t> version);
    bool close(const std::string& uri);
    // The files on disk may have changed: every document of its folder is checked again.
    void saved(const std::string& uri, const std::optional<std::string>& text);

    Document* find(const std::string& uri);
    bool too_large(const Document& doc) const { return doc.text.size() > max_document_; }
    bool has_pending() const;

    // The documents changed since last checked, copied for a round of checks;
    // none when there is nothing to check.
    std::unique_ptr<CheckRound> begin_round();
    // The round's results taken in: the diagnostics of every document it
    // checked that has not changed since, to publish.
    std::vector<Publication> finish_round(CheckRound& round);

    // A round run at once: the diagnostics to publish.
    std::vector<Publication> check_pending();
    // The analysis of one document, checking it (and publishing) first when it changed.
    std::vector<Publication> bring_up_to_date(const std::string& uri);

private:
    void touch_folder(const std::string& folder);

    std::unique_ptr<Disk> disk_;
    AnalysisCache cache_;
    std::size_t max_document_;
    Encoding encoding_ = Encoding::utf16;
    std::map<std::string, Document> docs_;
};

} // namespace autore::lsp
