// Places counted by the editor (UTF-16 units or UTF-8 bytes, from 0) and by
// the compile (Windows-1252 bytes, from 1) over the same text.
#include "autore/lsp/positions.hpp"
#include "model/code_page.hpp"

#include <gtest/gtest.h>

#include <string>

namespace autore::lsp {
namespace {

struct UnitsCase {
    const char* line;   // UTF-8
    std::size_t chars;  // characters before the place: the compile's column, less one
    uint32_t utf16;
    uint32_t utf8;
};

const UnitsCase units_cases[] = {
    {"pendenza,  0,   0", 10, 10, 10},
    {"stazione, Città, x", 15, 15, 16},          // "à" is two UTF-8 bytes, one UTF-16 unit
    {"cartello, (€ 5)", 13, 13, 15},             // "€" is three bytes, still one unit
    {"nota \xF0\x9F\x9A\x82 treno", 7, 8, 10},   // a character beyond 16 bits is two UTF-16 units
    {"bad \xC3 byte", 6, 6, 6},                   // a byte that is no character counts one
    {"corta", 40, 5, 5},                          // a column past the line's end is its end
};

TEST(Positions, ColumnsOfTheCompileInTheEditorsUnits)
{
    for (const UnitsCase& c : units_cases) {
        SCOPED_TRACE(c.line);
        const std::string text = std::string("[generale]\r\n") + c.line + "\r\n";
        const LineIndex index(text);
        EXPECT_EQ(index.units_before(text, 1, c.chars, Encoding::utf16), c.utf16);
        EXPECT_EQ(index.units_before(text, 1, c.chars, Encoding::utf8), c.utf8);
        // And back: the editor's units give the same column.
        const std::size_t back = std::min(c.chars, tratta::utf8_to_cp1252(index.line(text, 1)).size());
        EXPECT_EQ(index.chars_before(text, 1, c.utf16, Encoding::utf16), back);
        EXPECT_EQ(index.chars_before(text, 1, c.utf8, Encoding::utf8), back);
    }
}

TEST(Positions, TheTextInWindows1252HasOneByteForEachCharacter)
{
    const struct {
        const char* utf8;
        const char* cp1252;
    } rows[] = {
        {"Città", "Citt\xE0"},
        {"€ 5 – ok", "\x80 5 \x96 ok"},
        {"\xF0\x9F\x9A\x82!", "?!"},   // not in the code page
        {"a\xC3" "b", "a?b"},          // a lead byte without its second byte
        {"\xE2\x82", "??"},            // a sequence cut short by the end
        {"\xC0\xAF", "??"},            // an overlong form of "/"
        {"\xED\xA0\x80", "???"},       // a surrogate
        {"riga\r\naltra\rterza\n", "riga\r\naltra\rterza\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.utf8);
        EXPECT_EQ(tratta::utf8_to_cp1252(r.utf8), r.cp1252);
    }
}

TEST(Positions, LinesEndAtCrLfLfOrCr)
{
    const std::string text = "uno\r\ndue\ntre\rquattro\r\n";
    const LineIndex index(text);
    ASSERT_EQ(index.count(), 5u);
    EXPECT_EQ(index.line(text, 0), "uno");
    EXPECT_EQ(index.line(text, 1), "due");
    EXPECT_EQ(index.line(text, 2), "tre");
    EXPECT_EQ(index.line(text, 3), "quattro");
    EXPECT_EQ(index.line(text, 4), "");
    EXPECT_EQ(index.line(text, 9), "");
}

TEST(Positions, AnEditorsPositionAsAnOffset)
{
    const std::string text = "Città\r\n\xF0\x9F\x9A\x82x\r\nfine";
    const LineIndex index(text);
    const struct {
        int64_t line;
        int64_t character;
        Encoding e;
        std::size_t offset;
    } rows[] = {
        {0, 5, Encoding::utf16, 6},  // after "à"
        {0, 5, Encoding::utf8, 4},   // inside "à": its start
        {0, 6, Encoding::utf8, 6},
        {0, 99, Encoding::utf16, 6}, // past the line's end: its end, before the line end
        {1, 1, Encoding::utf16, 8},  // inside the two units of one character: its start
        {1, 2, Encoding::utf16, 12},
        {2, 2, Encoding::utf8, 17},
        {7, 0, Encoding::utf16, text.size()}, // past the last line: the end of the text
        {-1, 3, Encoding::utf16, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.line) + ":" + std::to_string(r.character));
        EXPECT_EQ(index.offset_of(text, r.line, r.character, r.e), r.offset);
    }
}

} // namespace
} // namespace autore::lsp
