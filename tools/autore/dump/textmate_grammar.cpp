#include "autore/dump/editor_files.hpp"

#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <nlohmann/json.hpp>

namespace autore {

namespace {

using Json = nlohmann::ordered_json;

// A key as the reader knows it: case does not count, and a digit in the
// template's key stands for any digit ("ripetizione segnali 4 codici" is read
// like "... 9 codici"). What follows the key up to the comma belongs to it:
// the side and class of a curve ("curvad3").
std::string key_pattern(std::string_view key)
{
    std::string out = "(?i:";
    for (const char c : key) {
        if (c >= '0' && c <= '9')
            out += "[0-9]";
        else if (std::string_view(".*+?()[]{}|^$\\").find(c) != std::string_view::npos)
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + ")[^,\\r\\n]*";
}

// One rule per key: the key, then each field of its table as the reader
// takes it (a number runs to a comma or a blank, a text to a comma), then
// whatever the reader passes over after the line's values.
Json key_rule(const tratta::KeySpec& key, const std::string& lang)
{
    std::string match = "^[ \\t]*(" + key_pattern(key.key) + ")(,?)";
    Json captures = Json::object();
    captures["1"] = {{"name", "keyword.other.key." + lang}};
    captures["2"] = {{"name", "punctuation.separator.comma." + lang}};
    int group = 3;
    for (const tratta::FieldSpec& f : key.fields) {
        if (f.width == tratta::FieldWidth::text) {
            match += "[ \\t]*(\"[^\"\\r\\n]*\"?[^,\\r\\n]*|[^,\\r\\n]*)(,?)";
            captures[std::to_string(group++)] = {{"name", "string.unquoted.field." + lang}};
        } else {
            // The leading number is the value; the rest of the token
            // ("OO" of "19OO") is read past.
            match += "[ \\t]*([+-]?[0-9]+(?:\\.[0-9]*)?)?([^,\\s]*)[ \\t]*(,?)";
            captures[std::to_string(group++)] = {{"name", "constant.numeric.field." + lang}};
            captures[std::to_string(group++)] = {{"name", "comment.other.passed-over." + lang}};
        }
        captures[std::to_string(group++)] = {{"name", "punctuation.separator.comma." + lang}};
    }
    match += "(.*)$";
    captures[std::to_string(group)] = {{"name", "comment.other.passed-over." + lang}};
    return Json{{"comment", std::string(key.key) + ": " + std::string(key.meaning)}, {"match", match},
                {"captures", captures}};
}

Json key_list(std::span<const tratta::KeySpec* const> keys, const std::string& lang)
{
    Json list = Json::array();
    for (const tratta::KeySpec* k : keys)
        list.push_back(key_rule(*k, lang));
    return list;
}

Json section_rule(const std::string& lang)
{
    return {{"match", "^[ \\t]*(\\[[^\\]\\r\\n]*\\])"}, {"captures", {{"1", {{"name", "entity.name.section." + lang}}}}}};
}

// A line that holds no key the reader knows: it reads past it.
Json unknown_line_rule(const std::string& lang)
{
    return {{"match", "^[ \\t]*([^\\[ \\t].*)$"}, {"captures", {{"1", {{"name", "comment.other.passed-over." + lang}}}}}};
}

Json line_grammar()
{
    const std::string lang = "autore-linea";
    Json g;
    g["name"] = "File della linea";
    g["scopeName"] = "source." + lang;
    // The general keys are read only in the general section, the body keys only after it.
    g["patterns"] = Json::array({{{"include", "#general"}}, {{"include", "#section"}}, {{"include", "#body-keys"}},
                                 {{"include", "#unknown"}}});
    Json repo;
    repo["general"] = {{"begin", "^[ \\t]*(\\[(?i:generale)\\])"},
                       {"beginCaptures", {{"1", {{"name", "entity.name.section." + lang}}}}},
                       {"end", "(?=^[ \\t]*\\[)"},
                       {"patterns", Json::array({{{"include", "#general-keys"}}, {{"include", "#unknown"}}})}};
    repo["section"] = section_rule(lang);
    repo["general-keys"] = {{"patterns", key_list(tratta::line_keys::general(), lang)}};
    repo["body-keys"] = {{"patterns", key_list(tratta::line_keys::body(), lang)}};
    repo["unknown"] = unknown_line_rule(lang);
    g["repository"] = repo;
    return g;
}

Json train_grammar()
{
    const std::string lang = "autore-treno";
    Json g;
    g["name"] = "File del treno";
    g["scopeName"] = "source." + lang;
    g["patterns"] = Json::array({{{"include", "#section"}}, {{"include", "#keys"}}, {{"include", "#unknown"}}});
    Json repo;
    repo["section"] = section_rule(lang);
    repo["keys"] = {{"patterns", key_list(tratta::train_keys::all(), lang)}};
    repo["unknown"] = unknown_line_rule(lang);
    g["repository"] = repo;
    return g;
}

} // namespace

std::string textmate_grammar(SourceKind kind)
{
    return (kind == SourceKind::line ? line_grammar() : train_grammar()).dump(2) + "\n";
}

} // namespace autore
