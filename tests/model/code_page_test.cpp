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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        EXPECT_EQ(utf8_to_cp1252(row.utf8), row.bytes);
    }
}

TEST(CodePage, RoundTripThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b < 0x80 || b >= 0xA0 || (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D))
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
}

TEST(CodePage, LowerCaseCoversTheWindows1252Capitals)
{
    EXPECT_EQ(lower_cp1252("ABC xyz 09_"), "abc xyz 09_");
    EXPECT_EQ(lower_cp1252("\xC0\xC8\xD7\xDE\xDF"), "\xE0\xE8\xD7\xFE\xDF");
    EXPECT_EQ(lower_cp1252("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
}

} // namespace
} // namespace tratta
