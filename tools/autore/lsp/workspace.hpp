#pragma once
// The open documents and their partners: a line file and the train files of
// the same scenario in the same folder are checked together, an open
// document standing in for its file on disk. Each check's diagnostics go to
// every open document it read.

#include "autore/lsp/analysis.hpp"
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

    // Every document changed since the last time checked, with the documents
    // read with it; their diagnostics, to publish.
    std::vector<Publication> check_pending();
    // The analysis of one document, checking it (and publishing) first when it changed.
    std::vector<Publication> bring_up_to_date(const std::string& uri);

private:
    // A partner of an open document: another open document, or a file on disk.
    struct Partner {
        std::string uri;
        std::string name;
        const Document* open = nullptr;
        std::filesystem::path path;
    };
    // One round of checks: each pair of files is checked once in it.
    struct Round {
        std::map<std::string, std::shared_ptr<const Analysis>> done;
        std::shared_ptr<const Analysis> analysis_of(Side line, Side train, const std::string& scenario,
                                                    const std::string& train_name);
    };

    void touch_folder(const std::string& folder);
    std::vector<Publication> check(const std::vector<Document*>& docs);
    Publication check_one(Document& doc, Round& round) const;
    std::vector<Partner> partners_of(const Document& doc, Role role) const;
    std::optional<Side> side_of(const Partner& p) const;

    std::unique_ptr<Disk> disk_;
    std::size_t max_document_;
    Encoding encoding_ = Encoding::utf16;
    std::map<std::string, Document> docs_;
};

} // namespace autore::lsp
