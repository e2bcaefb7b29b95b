#include "model/code_page.hpp"

#include <gtest/gtest.h>

namespace tratta {
namespace {

TEST(CodePage, Utf8ToWindows1252)
{
    const struct {
        std::string utf8;
        std::string bytes;
    } rows[] = {
        {"plain ASCII", "plain ASCII"},
        {"àèéìòù", "\xE0\xE8\xE9\xEC\xF2\xF9"},
        {"€‚ƒ„…†‡ˆ‰Š‹ŒŽ", "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"},
        {"Ÿ", "\x9F"},
        {"ω漢😀", "???"},              // letters the code page lacks
        {"\xC3", "?"},                // cut short at the end
        {"\x80x", "?x"},              // a stray continuation byte
        {"\xE2\x82x", "??x"},          // a broken sequence
        {"\xE2\x82", "??"},            // a sequence cut short: one "?" a byte
        {"\xC0\xAF", "??"},            // an overlong "/"
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        EXPECT_EQ(utf8_to_cp1252(row.utf8), row.bytes);
    }
}

TEST(CodePage, Utf8SequenceLengths)
{
    const struct {
        std::string text;
        std::size_t length;
    } rows[] = {
        {"a", 1},          {"\xC3\xA0", 2},         {"\xE2\x82\xAC", 3}, {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 0},       {"\xE2\x82", 0},         {"\x80", 0},         {"\xC0\xAF", 0},
        {"\xE0\x80\x80", 0}, {"\xED\xA0\x80", 0},     {"\xF4\x90\x80\x80", 0}, {"\xFF", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(utf8_sequence_length(row.text, 0), row.length) << testing::PrintToString(row.text);
}

TEST(CodePage, RoundTripThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b < 0x80 || b >= 0xA0 || (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D))
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
}

// What a person is shown of a source's bytes: each character in UTF-8, and a
// byte with no character to show written as \xNN, never passed on raw.
TEST(CodePage, Windows1252ShownAsUtf8)
{
    const struct {
        std::string bytes;
        std::string shown;
    } rows[] = {
        {"2\xB0", "2°"},
        {"Citt\xE0 \x80", "Città €"},
        {"a\x81" "b\x9D", "a\\x81b\\x9D"}, // unassigned in the code page
        {std::string("\x1B[1m\x00\x7F", 6), "\\x1B[1m\\x00\\x7F"}, // control bytes
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        EXPECT_EQ(cp1252_shown(row.bytes), row.shown);
    }
}

// A path as the file system holds it: UTF-8 where it is UTF-8, each stray
// byte shown as \xNN, so that JSON and every terminal can carry it.
TEST(CodePage, BytesMeantAsUtf8ShownWellFormed)
{
    const struct {
        std::string bytes;
        std::string shown;
    } rows[] = {
        {"Città/Valle_linea.txt", "Città/Valle_linea.txt"},
        {"Citt\xE0/x", "Citt\\xE0/x"},        // a Windows-1252 folder name
        {"\xC3", "\\xC3"},                    // cut short at the end
        {"\xC0\xAF", "\\xC0\\xAF"},            // an overlong form
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},   // a surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // beyond U+10FFFF
        {"😀 \x1B", "😀 \\x1B"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        EXPECT_EQ(utf8_shown(row.bytes), row.shown);
    }
}

TEST(CodePage, LowerCaseCoversTheWindows1252Capitals)
{
    EXPECT_EQ(lower_cp1252("ABC xyz 09_"), "abc xyz 09_");
    EXPECT_EQ(lower_cp1252("\xC0\xC8\xD7\xDE\xDF"), "\xE0\xE8\xD7\xFE\xDF");
    EXPECT_EQ(lower_cp1252("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
}

} // namespace
} // namespace tratta
