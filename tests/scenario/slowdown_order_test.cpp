// The slowdown order handed to the driver: the railway form with its entry
// table and the key to the prescriptions, checked on the bytes the writer makes.

#include "scenario/document_lines.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::bar_positions;
using testing::columns;
using testing::written_lines;

const std::string head_rule =
    " |___|____________________________|____________|__________|_________|____________|";
const std::string blank_entry =
    " |   |                            |            |          |         |            |";

TEST(SlowdownOrder, HasTheFormLinesInPlace)
{
    const auto lines = written_lines(rallentamenti_data());
    ASSERT_EQ(lines.size(), 46u);

    struct Row {
        std::size_t line;
        std::string text;
    };
    const std::vector<Row> rows = {
        {1, ""},
        {2, std::string(31, ' ') + "Modulo M. 3"},
        {3, std::string(27, ' ') + "ORDINE DI RALLENTAMENTO"},
        {4, " " + std::string(80, '_')},
        {6, ""},
        {7, "  Si ordina al macchinista del treno TR000 di effettuare i seguenti rallentamenti"},
        {8, "  " + std::string(79, '_')},
        {9, " |   |                            |Inizio dopo |          |         |            |"},
        {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
        {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
        {12, head_rule},
        {39, head_rule},
        {40, ""},
        {41, std::string(14, ' ') + "Prescrizioni specifiche"},
        {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
        {43, " B - Interessa anche la stazione di......."},
        {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
        {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
        {46, "     i giorni esclusi i seguenti:........."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("line " + std::to_string(row.line));
        EXPECT_EQ(lines[row.line - 1], row.text);
    }
}

TEST(SlowdownOrder, NamesTheLineByItsEndStations)
{
    const auto lines = written_lines(rallentamenti_data());
    ASSERT_EQ(lines.size(), 46u);
    const std::string& name_line = lines[4];
    ASSERT_TRUE(name_line.starts_with("  Linea  "));
    const std::string name = name_line.substr(9);
    EXPECT_NE(name.find('-'), std::string::npos) << name;
    EXPECT_NE(name.front(), ' ');
    EXPECT_NE(name.back(), ' ');
}

TEST(SlowdownOrder, TableLinesKeepWidthAndBars)
{
    const auto lines = written_lines(rallentamenti_data());
    ASSERT_EQ(lines.size(), 46u);
    const std::vector<std::size_t> bars = {2, 6, 35, 48, 59, 69, 82};
    for (std::size_t n = 9; n <= 39; ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        const std::string& line = lines[n - 1];
        EXPECT_EQ(line.size(), 82u);
        EXPECT_EQ(line[0], ' ');
        EXPECT_EQ(bar_positions(line), bars);
    }
    for (const auto& line : lines)
        EXPECT_TRUE(testing::is_ascii(line)) << line;
}

TEST(SlowdownOrder, ListsTheTwoSlowdownsThenBlankRows)
{
    const auto lines = written_lines(rallentamenti_data());
    ASSERT_EQ(lines.size(), 46u);

    struct Entry {
        std::string number, speed, length;
    };
    const std::vector<Entry> entries = {{" 1 ", "    80    ", "   700   "},
                                        {" 2 ", "    60    ", "  1400   "}};
    const std::string stations = columns(lines[12], 7, 34);
    const std::string post = columns(lines[12], 36, 47);
    EXPECT_NE(stations.find(" e "), std::string::npos) << stations;
    EXPECT_NE(stations.front(), ' ');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        const std::string& row = lines[12 + i];
        EXPECT_EQ(columns(row, 3, 5), entries[i].number);
        EXPECT_EQ(columns(row, 7, 34), stations);
        EXPECT_EQ(columns(row, 36, 47), post);
        EXPECT_EQ(columns(row, 49, 58), entries[i].speed);
        EXPECT_EQ(columns(row, 60, 68), entries[i].length);
        EXPECT_EQ(columns(row, 70, 81), "     D      ");
    }
    EXPECT_EQ(columns(post, 1, 3), "   ");
    EXPECT_EQ(columns(post, 10, 12), "   ");
    EXPECT_EQ(columns(post, 4, 9).find_first_not_of("0123456789"), std::string::npos) << post;

    for (std::size_t n = 15; n <= 38; ++n) {
        SCOPED_TRACE("line " + std::to_string(n));
        EXPECT_EQ(lines[n - 1], blank_entry);
    }
}

// The numbers of the "rallentamento" lines of the embedded train file.
std::vector<std::vector<long>> train_file_slowdowns()
{
    std::vector<std::vector<long>> slowdowns;
    for (const std::string_view line : treno_data()) {
        const auto fields = testing::fields_of(line);
        if (fields[0] != "rallentamento")
            continue;
        std::vector<long> numbers;
        for (std::size_t i = 1; i < fields.size(); ++i)
            numbers.push_back(std::stol(fields[i]));
        slowdowns.push_back(numbers);
    }
    return slowdowns;
}

TEST(SlowdownOrder, AgreesWithTheTrainFile)
{
    const auto lines = written_lines(rallentamenti_data());
    ASSERT_EQ(lines.size(), 46u);
    const auto slowdowns = train_file_slowdowns();
    ASSERT_EQ(slowdowns.size(), 2u);
    for (std::size_t i = 0; i < slowdowns.size(); ++i) {
        SCOPED_TRACE("slowdown " + std::to_string(i + 1));
        ASSERT_GE(slowdowns[i].size(), 3u);
        const std::string& row = lines[12 + i];
        EXPECT_EQ(std::stol(columns(row, 49, 58)), slowdowns[i][1]) << "speed";
        EXPECT_EQ(std::stol(columns(row, 60, 68)), slowdowns[i][2]) << "length";
    }
}

} // namespace
} // namespace tratta
