#pragma once
// The documents the editor has open: their text as the editor holds it (not
// as saved), which of the two files of a scenario each is, and where its
// partner files are looked for.

#include "autore/lsp/positions.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace autore::lsp {

struct Analysis;

// Which source of a scenario a document is.
enum class Role : uint8_t { line, train };

// The role a file's name gives it ("<S>_linea.txt" a line file, "<S>_<T>-.txt"
// a train file); for any other name, a text with a route length is a line
// file and anything else a train file.
Role role_of(std::string_view name, std::string_view cp1252_text);

struct Document {
    std::string uri;
    std::string text; // UTF-8, as the editor holds it
    LineIndex lines;
    int64_t version = 0;
    std::string name;                          // the file's name (UTF-8)
    std::optional<std::filesystem::path> path; // the file on disk, for a "file:" URI
    std::string folder;                        // where the partner files are: the folder, or the URI up to its name
    Role role = Role::line;
    bool dirty = true;  // changed since its diagnostics were last published
    uint64_t generation = 0; // counts the changes to it or to its partners: a check of an older one is stale
    std::shared_ptr<const Analysis> analysis; // the last check that read it

    Document(std::string uri_, std::string text_, int64_t version_);
    void set_text(std::string t);
};

// A change the editor sent: the whole new text, or a range replaced.
struct TextChange {
    struct Point {
        int64_t line = 0;
        int64_t character = 0;
    };
    std::optional<std::pair<Point, Point>> range; // none: the whole text
    std::string text;
};

// The change applied to the text; a range past the end is cut to the end,
// one given backwards is taken forwards.
void apply_change(Document& doc, const TextChange& change, Encoding e);

} // namespace autore::lsp
