// The editors' files are made from the key tables: the committed grammars and
// the Notepad++ language are the ones the tables make, every key of every
// reader is in them, and the grammars' test files hold a line of every key.
#include "autore/dump/editor_files.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"
#include "support/temp_folder.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>

namespace autore {
namespace {

const std::filesystem::path source_dir = TRATTA_SOURCE_DIR;

TEST(EditorFiles, TheCommittedFilesAreTheOnesTheTablesMake)
{
    for (const EditorFile& f : editor_files()) {
        SCOPED_TRACE(std::string(f.path));
        const std::string committed = tratta::testing::read_bytes(source_dir / f.path);
        ASSERT_FALSE(committed.empty()) << f.path << " is missing";
        EXPECT_TRUE(committed == f.make()) << f.path << " differs from the key tables: regenerate it with "
                                           << "./build/tools/autore formats --editor " << f.name << " > " << f.path;
        const auto printed = testing::run_tool({"formats", "--editor", std::string(f.name)});
        EXPECT_EQ(printed.status, 0);
        EXPECT_TRUE(printed.out == f.make());
    }
    EXPECT_EQ(testing::run_tool({"formats", "--editor", "emacs"}).status, 64);
}

struct Format {
    SourceKind kind;
    std::vector<std::span<const tratta::KeySpec* const>> keys;
    const char* grammar_test; // the grammar's test file of this format
};

std::vector<Format> formats()
{
    return {{SourceKind::line, {tratta::line_keys::general(), tratta::line_keys::body()}, "editors/vscode/test/linea.txt"},
            {SourceKind::train, {tratta::train_keys::all()}, "editors/vscode/test/treno.txt"}};
}

// Each key has a rule of its own in its file's grammar, named by the key.
void collect_rule_keys(const nlohmann::json& node, std::set<std::string>& keys)
{
    if (node.is_object()) {
        if (node.contains("comment") && node.contains("match"))
            keys.insert(node["comment"].get<std::string>().substr(0, node["comment"].get<std::string>().find(':')));
        for (const auto& [name, child] : node.items())
            collect_rule_keys(child, keys);
    } else if (node.is_array()) {
        for (const auto& child : node)
            collect_rule_keys(child, keys);
    }
}

TEST(EditorFiles, EveryKeyOfTheReadersIsInItsGrammarAndItsGrammarTest)
{
    for (const Format& f : formats()) {
        std::set<std::string> expected;
        for (const auto& list : f.keys)
            for (const tratta::KeySpec* k : list)
                expected.insert(std::string(k->key));
        std::set<std::string> in_grammar;
        collect_rule_keys(nlohmann::json::parse(textmate_grammar(f.kind)), in_grammar);
        EXPECT_EQ(in_grammar, expected);

        // The test file shows each key's example line with its key's scope
        // asserted on the line below.
        const std::string test_file = tratta::testing::read_bytes(source_dir / f.grammar_test);
        ASSERT_FALSE(test_file.empty()) << f.grammar_test;
        for (const std::string& key : expected) {
            SCOPED_TRACE(key);
            const tratta::KeySpec* spec = nullptr;
            for (const auto& list : f.keys)
                for (const tratta::KeySpec* k : list)
                    if (k->key == key)
                        spec = k;
            const auto at = test_file.find(std::string(spec->example) + "\n");
            ASSERT_NE(at, std::string::npos) << "no line «" << spec->example << "» in " << f.grammar_test;
            const auto next = test_file.substr(at + spec->example.size() + 1, test_file.find('\n', at + spec->example.size() + 1) - at - spec->example.size() - 1);
            EXPECT_NE(next.find("keyword.other.key"), std::string::npos) << "after it: " << next;
        }
    }
}

TEST(EditorFiles, TheNotepadLanguageNamesEveryKey)
{
    const std::string xml = notepad_language();
    for (const Format& f : formats())
        for (const auto& list : f.keys)
            for (const tratta::KeySpec* k : list) {
                // Up to a digit, which stands for any digit ("ripetizione segnali 4 codici").
                std::string word(k->key.substr(0, k->key.find_first_of("0123456789")));
                while (word.back() == ' ')
                    word.pop_back();
                const std::string listed = word.find(' ') == std::string::npos ? word : "&quot;" + word + "&quot;";
                EXPECT_NE(xml.find(listed), std::string::npos) << k->key;
            }
}

} // namespace
} // namespace autore
