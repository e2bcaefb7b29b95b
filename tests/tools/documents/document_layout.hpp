#pragma once
// The layout rules that every timetable sheet, slowdown order and notes file
// follows, whoever made it: the boxes, the widths and bar positions of the
// table lines, the sheets of 31 body rows, the change of kilometre count drawn
// as a "/" with the new count on the row below.

#include "scenario/document_lines.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autore::testing {

using tratta::testing::bar_positions;
using tratta::testing::columns;

inline const std::vector<std::size_t> sheet_bars{2, 8, 14, 25, 31, 60, 77, 83};
inline const std::vector<std::size_t> order_bars{2, 6, 35, 48, 59, 69, 82};
inline const std::string sheet_head_rule =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
inline const std::string sheet_spacer =
    " |     |     |          |     |                            |                |     |";

// Lines of one sheet: 46, then three lines between sheets.
inline constexpr std::size_t sheet_lines = 46;
inline constexpr std::size_t sheet_pitch = sheet_lines + 3;

inline std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" _");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" _");
    return text.substr(first, last - first + 1);
}

// The number of sheets.
inline std::size_t expect_sheet_layout(const std::vector<std::string>& lines)
{
    EXPECT_EQ(lines.size() % sheet_pitch, 0u) << lines.size();
    const std::size_t n = lines.size() / sheet_pitch;
    EXPECT_GE(n, 1u);
    if (n == 0)
        return 0;
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines.back(), "");
    for (std::size_t k = 0; k < n; ++k) {
        SCOPED_TRACE("sheet " + std::to_string(k + 1));
        const std::size_t s = 2 + k * sheet_pitch;
        const auto line = [&](std::size_t i) { return lines[s + i - 1]; };
        if (k > 0) {
            EXPECT_EQ(lines[s - 3], "");
            EXPECT_EQ(lines[s - 2], std::string(72, '.'));
            EXPECT_EQ(lines[s - 1], "");
        }
        EXPECT_EQ(line(1), "  " + std::string(19, '_') + std::string(47, ' ') + std::string(14, '_'));
        for (std::size_t i = 2; i <= 4; ++i) {
            EXPECT_EQ(line(i).size(), 83u) << line(i);
            EXPECT_EQ(bar_positions(line(i)), (std::vector<std::size_t>{2, 22, 68, 83})) << line(i);
        }
        EXPECT_EQ(line(2).find("SCHEDA " + std::to_string(k + 1) + "/" + std::to_string(n) + " "), 42u);
        EXPECT_EQ(columns(line(3), 3, 15), "   TRENO n.  ");
        EXPECT_EQ(columns(line(3), 42, 45), "da: ");
        EXPECT_EQ(columns(line(4), 3, 21), std::string(19, '_'));
        EXPECT_EQ(columns(line(4), 43, 45), "a: ");
        EXPECT_EQ(line(5), std::string(67, ' ') + "|" + std::string(14, '_') + "|");
        EXPECT_EQ(line(6), "  ___________________                ___________________");
        EXPECT_EQ(line(7), " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
        EXPECT_EQ(line(8).size(), 57u);
        EXPECT_EQ(bar_positions(line(8)), (std::vector<std::size_t>{2, 22, 37, 57}));
        EXPECT_EQ(line(9), " |___________________|              |___________________|");
        EXPECT_EQ(line(10), "");
        EXPECT_EQ(line(11), "  " + std::string(80, '_'));
        EXPECT_EQ(line(12), " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
        EXPECT_EQ(line(13), " | Lim.|Marc.|          |  Rs |                            |                |     |");
        EXPECT_EQ(line(14), sheet_head_rule);
        for (std::size_t i = 12; i <= sheet_lines; ++i) {
            SCOPED_TRACE(line(i));
            EXPECT_EQ(line(i).size(), 83u);
            EXPECT_EQ(line(i)[0], ' ');
            EXPECT_EQ(bar_positions(line(i)), sheet_bars);
        }
        for (std::size_t i = 15; i <= 45; ++i) {
            if (line(i).size() < 83 || line(i)[23] != '/')
                continue;
            // The new count stands alone on the row below the change.
            SCOPED_TRACE(line(i));
            EXPECT_LT(i, 45u) << "a change of count closes the sheet";
            const std::string next = line(i + 1);
            EXPECT_FALSE(trimmed(columns(next, 15, 23)).empty()) << next;
            EXPECT_EQ(trimmed(columns(next, 3, 7)) + trimmed(columns(next, 32, 59)) + trimmed(columns(next, 61, 76)),
                      "")
                << next;
        }
        EXPECT_NE(line(15), sheet_spacer) << "a sheet begins with a spacer";
        const std::string closing = line(sheet_lines);
        if (k + 1 < n) {
            EXPECT_EQ(closing, sheet_head_rule);
        } else {
            // The destination closes the last sheet, drawn with underscores.
            EXPECT_EQ(columns(closing, 1, 31).find(' ', 1), std::string::npos) << closing;
            EXPECT_FALSE(trimmed(columns(closing, 32, 59)).empty()) << closing;
        }
    }
    return n;
}

inline void expect_order_layout(const std::vector<std::string>& lines, std::size_t slowdowns)
{
    const std::size_t rows = std::max<std::size_t>(slowdowns, 26);
    ASSERT_EQ(lines.size(), 20 + rows);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], std::string(31, ' ') + "Modulo M. 3");
    EXPECT_EQ(lines[2], std::string(27, ' ') + "ORDINE DI RALLENTAMENTO");
    EXPECT_EQ(lines[3], " " + std::string(80, '_'));
    EXPECT_EQ(lines[4].rfind("  Linea  ", 0), 0u);
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6].rfind("  Si ordina al macchinista del treno ", 0), 0u);
    EXPECT_EQ(lines[7], "  " + std::string(79, '_'));
    for (std::size_t i = 8; i <= 12 + rows; ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(lines[i].size(), 82u);
        EXPECT_EQ(bar_positions(lines[i]), order_bars);
    }
    EXPECT_EQ(lines[11], lines[12 + rows]);
    EXPECT_EQ(lines[13 + rows], "");
    EXPECT_EQ(lines[14 + rows], std::string(14, ' ') + "Prescrizioni specifiche");
    const char* letters[] = {" A - ", " B - ", " D - ", " C - "};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[15 + rows + i].rfind(letters[i], 0), 0u) << lines[15 + rows + i];
}

inline void expect_notes_layout(const std::vector<std::string>& lines)
{
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front().rfind("  ", 0), 0u);
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.back(), ' ');
        EXPECT_LE(line.size(), 96u);
    }
    EXPECT_EQ(lines[lines.size() - 2].rfind("  ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("  ", 0), 0u);
}

} // namespace autore::testing
