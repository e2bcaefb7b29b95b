// docs/formats.md is made from the key tables and the layouts; it must say
// what they say, and every row of the tables must hold what the page shows.
#include "autore/dump/field_meanings.hpp"
#include "autore/dump/formats_doc.hpp"
#include "source/field_reader.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"
#include "support/temp_folder.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cctype>

namespace autore {
namespace {

std::vector<const tratta::KeySpec*> every_key()
{
    std::vector<const tratta::KeySpec*> keys;
    for (auto list : {tratta::line_keys::general(), tratta::line_keys::body(), tratta::train_keys::all()})
        keys.insert(keys.end(), list.begin(), list.end());
    return keys;
}

TEST(FormatsDoc, TheCommittedPageIsTheOneTheTablesMake)
{
    const std::string committed = tratta::testing::read_bytes(std::filesystem::path(TRATTA_SOURCE_DIR) / "docs" /
                                                              "formats.md");
    ASSERT_FALSE(committed.empty()) << "docs/formats.md is missing";
    EXPECT_TRUE(committed == formats_markdown())
        << "docs/formats.md differs from the tables: regenerate it with ./build/tools/autore formats > docs/formats.md";
    const auto printed = testing::run_tool({"formats"});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, formats_markdown());
    // The project's own command: not among those the help lists.
    EXPECT_EQ(testing::run_tool({"--help"}).out.find("formats"), std::string::npos);
}

TEST(FormatsDoc, EveryKeyAndFieldHasWhatThePageShows)
{
    for (const tratta::KeySpec* k : every_key()) {
        SCOPED_TRACE(std::string(k->key));
        EXPECT_FALSE(k->meaning.empty());
        EXPECT_FALSE(k->lines.empty());
        EXPECT_TRUE(k->section.starts_with("[") && k->section.ends_with("]"));
        EXPECT_NE(formats_markdown().find("#### `" + std::string(k->key) + "`"), std::string::npos);
        for (const tratta::FieldSpec& f : k->fields) {
            SCOPED_TRACE(std::string(f.name));
            EXPECT_FALSE(f.range.empty());
            EXPECT_FALSE(f.if_empty.empty());
            EXPECT_TRUE(f.becomes.starts_with(".sim") || f.becomes.starts_with(".dat") ||
                        f.becomes.starts_with("_linea.dat"))
                << f.becomes;
        }
    }
}

// Each example line reads as its key's fields, in their widths, with the
// reader's own field reading.
TEST(FormatsDoc, EveryExampleLineReadsAsItsKey)
{
    for (const tratta::KeySpec* k : every_key()) {
        SCOPED_TRACE(std::string(k->example));
        const std::string bytes = std::string(k->example) + "\r\n[fine]\r\n";
        tratta::FieldReader in(bytes, tratta::SourceFile::train);
        EXPECT_TRUE(in.read_key().starts_with(k->key));
        in.expect(*k);
        for (const tratta::FieldSpec& f : k->fields) {
            switch (f.width) {
            case tratta::FieldWidth::i32: EXPECT_NO_THROW(in.read_i32()); break;
            case tratta::FieldWidth::i16: EXPECT_NO_THROW(in.read_i16()); break;
            case tratta::FieldWidth::u8: EXPECT_NO_THROW(in.read_u8()); break;
            case tratta::FieldWidth::text: EXPECT_FALSE(in.read_text().empty()); break;
            }
        }
        EXPECT_EQ(in.read_key(), "[fine]") << "the example has more fields than its key";
    }
}

// A field is named as a whole word: "value" is not "value2".
bool names_field(std::string_view text, std::string_view field)
{
    for (auto at = text.find(field); at != std::string_view::npos; at = text.find(field, at + 1)) {
        const auto end = at + field.size();
        const bool starts = at == 0 || !(std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_');
        const bool ends = end == text.size() || !(std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_');
        if (starts && ends)
            return true;
    }
    return false;
}

// The dump says a binary field came from a source field; that source field's
// row says it becomes that binary field.
void expect_both_ways(std::span<const FieldMeaning> fields)
{
    for (const FieldMeaning& m : fields) {
        if (m.origin.key == nullptr)
            continue;
        const std::string rule(m.origin.rule);
        for (std::size_t at = rule.find('{'); at != std::string::npos; at = rule.find('{', at + 1)) {
            const std::size_t n = std::stoul(rule.substr(at + 1));
            ASSERT_LE(n, m.origin.key->fields.size());
            const tratta::FieldSpec& source = m.origin.key->fields[n - 1];
            EXPECT_TRUE(names_field(source.becomes, m.field))
                << "«" << m.origin.key->key << "» field " << n << " «" << source.name << "» becomes \""
                << source.becomes << "\", which does not name " << m.field;
        }
    }
}

TEST(FormatsDoc, WhatAFieldBecomesAndWhereTheDumpSaysItCameFromAgree)
{
    for (const KindMeaning& k : kind_meanings())
        expect_both_ways(k.fields);
    expect_both_ways(track_fields());
    for (const RoleMeaning& r : role_meanings())
        expect_both_ways(r.fields);
}

} // namespace
} // namespace autore
