#include "autore/dump/editor_files.hpp"

namespace autore {

const std::vector<EditorFile>& editor_files()
{
    static const std::vector<EditorFile> files = {
        {"vscode-linea", "editors/vscode/syntaxes/linea.tmLanguage.json", [] { return textmate_grammar(SourceKind::line); }},
        {"vscode-treno", "editors/vscode/syntaxes/treno.tmLanguage.json", [] { return textmate_grammar(SourceKind::train); }},
        {"notepad++", "editors/notepad++/scenario_autore.xml", [] { return notepad_language(); }},
    };
    return files;
}

} // namespace autore
