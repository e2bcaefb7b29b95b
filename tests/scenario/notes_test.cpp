// The curator's notes for the driver: six hand-wrapped paragraphs and a
// two-line signature, checked on the bytes the writer makes.

#include "scenario/document_lines.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::written_lines;

bool indented(const std::string& line) { return line.starts_with("  ") && line[2] != ' '; }

TEST(Notes, SixIndentedParagraphsAndASignature)
{
    const auto lines = written_lines(note_data());
    ASSERT_EQ(lines.size(), 44u);
    // Lines (from 1) that open a paragraph, then the two signature lines.
    const std::vector<std::size_t> openings = {1, 13, 14, 16, 26, 38, 43, 44};
    for (std::size_t n = 1; n <= lines.size(); ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        const std::string& line = lines[n - 1];
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.back(), ' ');
        const bool opens = std::find(openings.begin(), openings.end(), n) != openings.end();
        if (opens)
            EXPECT_TRUE(indented(line)) << line;
        else
            EXPECT_NE(line.front(), ' ') << line;
    }
    EXPECT_NE(lines[43].find("@example.org"), std::string::npos);
}

TEST(Notes, KeepsTheHandWrappedLineLengths)
{
    const auto lines = written_lines(note_data());
    ASSERT_EQ(lines.size(), 44u);
    // The lines that are neither full nor the signature: the four short paragraph
    // ends and the three lines left unwrapped.
    const std::map<std::size_t, std::size_t> other_lengths = {
        {12, 85}, {13, 175}, {15, 47}, {22, 195}, {25, 41}, {37, 126}, {42, 33}};
    std::size_t full = 0;
    for (std::size_t n = 1; n <= 42; ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        const std::size_t length = lines[n - 1].size();
        const auto other = other_lengths.find(n);
        if (other != other_lengths.end()) {
            EXPECT_EQ(length, other->second);
        } else {
            EXPECT_GE(length, 95u);
            EXPECT_LE(length, 98u);
            ++full;
        }
    }
    EXPECT_EQ(full, 35u);
}

TEST(Notes, ElevenWordsAreSplitAcrossLines)
{
    const auto lines = written_lines(note_data());
    ASSERT_EQ(lines.size(), 44u);
    std::size_t split = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].back() != '-')
            continue;
        SCOPED_TRACE("line " + std::to_string(i + 1));
        ++split;
        // A word split by hand: a letter before the hyphen, the rest of the
        // word in small letters at the start of the next line of the paragraph.
        EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(lines[i][lines[i].size() - 2])));
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(lines[i + 1][0])));
    }
    EXPECT_EQ(split, 11u);
}

TEST(Notes, AccentedLettersAreSingleWindows1252Bytes)
{
    const std::string bytes = encode_data_set(note_data());
    std::map<unsigned char, std::size_t> high;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            ++high[static_cast<unsigned char>(c)];
    const std::map<unsigned char, std::size_t> expected = {{0xE0, 5}, {0xE8, 19}, {0xF9, 2}};
    EXPECT_EQ(high, expected);
}

TEST(Notes, TellTheStoryOfThisTrainAndRoute)
{
    const auto lines = written_lines(note_data());
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    // Facts the notes share with the line and train files.
    for (const char* fact : {"TR 000", "19.35", "22.29", "800 tonnellate", "125%", "16 per mille",
                             "7050 metri", "1050 metri", "Bivio Fornace", "Bivio Pozzetto",
                             "7,650", "60 km/h"}) {
        SCOPED_TRACE(fact);
        EXPECT_NE(text.find(fact), std::string::npos);
    }
}

} // namespace
} // namespace tratta
