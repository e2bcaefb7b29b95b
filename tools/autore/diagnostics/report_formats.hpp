#pragma once
// The diagnostics of a check written out: as lines that editors and
// terminals link to their places, as a JSON array, or as SARIF 2.1.0 for
// code-scanning pages.

#include "autore/diagnostics/diagnostic.hpp"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

// The names the two files are shown under (UTF-8).
struct SourceNames {
    std::string line;
    std::string train;
    const std::string& of(tratta::SourceFile file) const { return file == tratta::SourceFile::train ? train : line; }
};

// A file name or path as a URI reference: the bytes that a URI may not hold
// escaped ("/" stays).
std::string uri_reference(std::string_view name);

// Where a SARIF log points for a file shown under `name`: a URI reference
// relative to the folder of the check, or a file URI for a name with a drive.
// A Windows author types "mia_linea\Valle_linea.txt" or "C:\Scenari\...":
// there the backslash separates folders and becomes "/", so that a
// code-scanning page finds the file.
#ifdef _WIN32
inline constexpr bool backslash_separates_folders = true;
#else
inline constexpr bool backslash_separates_folders = false;
#endif
std::string artifact_uri(std::string_view name, bool backslash_separates = backslash_separates_folders);

// file:line:col: error|warning [code]: message, then file:line:col: note: ... for each related place.
void write_text(const std::vector<Diagnostic>& diagnostics, const SourceNames& names, std::ostream& out);
std::string text_line(const Diagnostic& d, const SourceNames& names);

// [{"file", "line", "column", "end_column", "severity", "code", "message", "at_m", "related": [...]}]
nlohmann::ordered_json diagnostics_json(const std::vector<Diagnostic>& diagnostics, const SourceNames& names);

// One SARIF 2.1.0 log with one run of the tool "autore".
nlohmann::ordered_json diagnostics_sarif(const std::vector<Diagnostic>& diagnostics, const SourceNames& names,
                                         const std::string& tool_version);

} // namespace autore
