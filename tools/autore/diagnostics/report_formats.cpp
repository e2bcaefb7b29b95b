#include "autore/diagnostics/report_formats.hpp"

#include "autore/diagnostics/rule_summaries.hpp"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <set>

namespace autore {

using nlohmann::ordered_json;
using tratta::SourcePlace;

std::string_view severity_word(Severity s) { return s == Severity::error ? "error" : "warning"; }

namespace {

// A path is the file system's bytes, which need not be UTF-8; a message is
// UTF-8 from the moment it was made. Both are written out as well-formed
// UTF-8, any stray byte shown as \xNN, so that every format can carry them.
std::string shown(std::string_view text) { return tratta::utf8_shown(text); }

std::string where(const SourcePlace& p, const SourceNames& names)
{
    std::string text = shown(names.of(p.file));
    if (p.line > 0) {
        text += ":" + std::to_string(p.line);
        if (p.column > 0)
            text += ":" + std::to_string(p.column);
    }
    return text;
}

ordered_json place_json(const SourcePlace& p, const SourceNames& names)
{
    ordered_json j;
    j["file"] = shown(names.of(p.file));
    j["line"] = p.line;
    j["column"] = p.column;
    j["end_column"] = p.end_column;
    return j;
}

ordered_json physical_location(const SourcePlace& p, const SourceNames& names)
{
    ordered_json region;
    region["startLine"] = std::max(p.line, 1);
    if (p.column > 0) {
        region["startColumn"] = p.column;
        region["endColumn"] = std::max(p.end_column, p.column);
    }
    return {{"artifactLocation", {{"uri", artifact_uri(names.of(p.file))}}}, {"region", region}};
}

} // namespace

// A file name as a URI reference relative to the folder of the check: the
// bytes that a URI may not hold escaped.
std::string uri_reference(std::string_view name)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += ch;
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 0xF];
        }
    }
    return uri;
}

std::string artifact_uri(std::string_view name, bool backslash_separates)
{
    std::string path(name);
    if (backslash_separates)
        std::replace(path.begin(), path.end(), '\\', '/');
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
                       path[1] == ':' && path[2] == '/';
    return drive ? "file:///" + uri_reference(path) : uri_reference(path);
}

std::string text_line(const Diagnostic& d, const SourceNames& names)
{
    return where(d.place, names) + ": " + std::string(severity_word(d.severity)) + " [" + d.code + "]: " + shown(d.message);
}

void write_text(const std::vector<Diagnostic>& diagnostics, const SourceNames& names, std::ostream& out)
{
    for (const Diagnostic& d : diagnostics) {
        out << text_line(d, names) << '\n';
        for (const RelatedPlace& r : d.related)
            out << where(r.place, names) << ": note: " << shown(r.message) << '\n';
    }
}

ordered_json diagnostics_json(const std::vector<Diagnostic>& diagnostics, const SourceNames& names)
{
    ordered_json all = ordered_json::array();
    for (const Diagnostic& d : diagnostics) {
        ordered_json j = place_json(d.place, names);
        j["severity"] = severity_word(d.severity);
        j["code"] = d.code;
        j["message"] = shown(d.message);
        j["at_m"] = d.at_m ? ordered_json(*d.at_m) : ordered_json(nullptr);
        ordered_json related = ordered_json::array();
        for (const RelatedPlace& r : d.related) {
            ordered_json rj = place_json(r.place, names);
            rj["message"] = shown(r.message);
            related.push_back(rj);
        }
        j["related"] = related;
        all.push_back(j);
    }
    return all;
}

ordered_json diagnostics_sarif(const std::vector<Diagnostic>& diagnostics, const SourceNames& names,
                               const std::string& tool_version)
{
    ordered_json rules = ordered_json::array();
    std::set<std::string> listed;
    ordered_json results = ordered_json::array();
    for (const Diagnostic& d : diagnostics) {
        if (listed.insert(d.code).second)
            rules.push_back({{"id", d.code}, {"shortDescription", {{"text", std::string(rule_summary(d.code))}}}});
        ordered_json result;
        result["ruleId"] = d.code;
        result["level"] = d.is_error() ? "error" : "warning";
        result["message"] = {{"text", shown(d.message)}};
        result["locations"] = ordered_json::array({{{"physicalLocation", physical_location(d.place, names)}}});
        if (!d.related.empty()) {
            ordered_json related = ordered_json::array();
            int id = 0;
            for (const RelatedPlace& r : d.related)
                related.push_back({{"id", id++}, {"physicalLocation", physical_location(r.place, names)},
                                   {"message", {{"text", shown(r.message)}}}});
            result["relatedLocations"] = related;
        }
        results.push_back(result);
    }
    ordered_json driver = {{"name", "autore"}, {"version", tool_version}, {"rules", rules}};
    ordered_json run = {{"tool", {{"driver", driver}}}, {"columnKind", "utf16CodeUnits"}, {"results", results}};
    return {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"}, {"version", "2.1.0"},
            {"runs", ordered_json::array({run})}};
}

} // namespace autore
