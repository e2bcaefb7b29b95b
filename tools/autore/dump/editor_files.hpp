#pragma once
// The editors' files made from the key tables the readers read through: a
// TextMate grammar for each source file (VS Code colours the line file and
// the train file with them) and a User Defined Language for Notepad++. A key
// added to a reader appears in every editor the next time they are written
// (`autore formats --editor ...`); a test holds the committed files to them.

#include <string>
#include <string_view>
#include <vector>

namespace autore {

enum class SourceKind { line, train };

// The grammar of the line file or of the train file, as JSON.
std::string textmate_grammar(SourceKind kind);

// One Notepad++ language for both files, as XML.
std::string notepad_language();

// The names `autore formats --editor` takes, and the file each writes.
struct EditorFile {
    std::string_view name;        // "vscode-linea"
    std::string_view path;        // where it lives in the source tree
    std::string (*make)();
};
const std::vector<EditorFile>& editor_files();

} // namespace autore
