// The timetable sheet: four printed sheets of 46 lines with their header boxes
// and the ruled table of places, checked on the bytes the writer makes and
// against the line and train files it describes.

#include "scenario/document_lines.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tratta {
namespace {

using testing::bar_positions;
using testing::columns;
using testing::written_lines;

const std::string head_rule =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
const std::string spacer_row =
    " |     |     |          |     |                            |                |     |";

// File line (from 1) of the first line of each sheet.
constexpr std::size_t sheet_start[] = {3, 54, 104, 153};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" _");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" _");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> sheet_file_lines()
{
    auto lines = written_lines(scheda_data());
    EXPECT_EQ(lines.size(), 199u);
    lines.resize(199);
    return lines;
}

TEST(TimetableSheet, FileStructure)
{
    const auto lines = sheet_file_lines();
    const std::size_t empty_lines[] = {1, 2, 52, 53, 100, 101, 103, 150, 152, 199};
    for (const std::size_t n : empty_lines) {
        SCOPED_TRACE("line " + std::to_string(n));
        EXPECT_EQ(lines[n - 1], "");
    }
    EXPECT_EQ(lines[50], std::string(81, '.'));
    EXPECT_EQ(lines[101], std::string(72, '.'));
    EXPECT_EQ(lines[150], std::string(72, '.'));

    // The footnotes explain the one- and two-star markers of the place column.
    const std::string markers[] = {" *  ", " ** "};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string& note = lines[48 + i];
        SCOPED_TRACE(note);
        EXPECT_EQ(note.size(), 69u);
        EXPECT_TRUE(note.starts_with(markers[i] + "Vel. max tratto "));
        EXPECT_NE(note.find(" linea diretta "), std::string::npos);
        EXPECT_EQ(note.substr(note.size() - 5), " Km/h");
    }
    for (const auto& line : lines)
        EXPECT_TRUE(testing::is_ascii(line)) << line;
}

TEST(TimetableSheet, HeaderBlocksOfEverySheet)
{
    const auto lines = sheet_file_lines();
    const std::string ranks[] = {"V160 B", "V160 B", "V160 B", "V160 C"};
    for (std::size_t s = 0; s < 4; ++s) {
        SCOPED_TRACE("sheet " + std::to_string(s + 1));
        const auto line = [&](std::size_t n) { return lines[sheet_start[s] + n - 2]; };

        EXPECT_EQ(line(1), "  " + std::string(19, '_') + std::string(47, ' ') + std::string(14, '_'));
        const std::string label = "SCHEDA " + std::to_string(s + 1) + "/4";
        EXPECT_EQ(line(2), " |                   |                    " + label +
                               "               |              |");

        const std::string train = line(3);
        EXPECT_EQ(train.size(), 83u);
        EXPECT_EQ(columns(train, 1, 21), " |   TRENO n.  000   ");
        EXPECT_EQ(columns(train, 42, 45), "da: ");
        EXPECT_EQ(trimmed(columns(train, 46, 67)), "Portaurea Centrale");
        EXPECT_EQ(columns(train, 68, 83), "|    " + ranks[s] + "    |");

        const std::string destination = line(4);
        EXPECT_EQ(destination.size(), 83u);
        EXPECT_EQ(columns(destination, 1, 22), " |" + std::string(19, '_') + "|");
        EXPECT_EQ(columns(destination, 43, 45), "a: ");
        EXPECT_EQ(trimmed(columns(destination, 46, 67)), "Sarmenta Centrale");
        EXPECT_EQ(columns(destination, 68, 83), "|     125%     |");

        EXPECT_EQ(line(5), std::string(67, ' ') + "|" + std::string(14, '_') + "|");
        EXPECT_EQ(line(6), "  ___________________                ___________________");
        EXPECT_EQ(line(7), " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
        EXPECT_EQ(line(8), " |        TR         |              |      800T         |");
        EXPECT_EQ(line(9), " |___________________|              |___________________|");
        EXPECT_EQ(line(10), "");
        EXPECT_EQ(line(11), "  " + std::string(80, '_'));
        EXPECT_EQ(line(12),
                  " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
        EXPECT_EQ(line(13),
                  " | Lim.|Marc.|          |  Rs |                            |                |     |");
        EXPECT_EQ(line(14), head_rule);
    }
}

TEST(TimetableSheet, TableLinesKeepWidthAndBars)
{
    const auto lines = sheet_file_lines();
    const std::vector<std::size_t> bars = {2, 8, 14, 25, 31, 60, 77, 83};
    for (const std::size_t start : sheet_start) {
        for (std::size_t n = 12; n <= 46; ++n) {
            SCOPED_TRACE("file line " + std::to_string(start + n - 1));
            const std::string& line = lines[start + n - 2];
            EXPECT_EQ(line.size(), 83u);
            EXPECT_EQ(line[0], ' ');
            EXPECT_EQ(bar_positions(line), bars);
        }
    }
}

// What a body row holds, read from its columns.
struct BodyRow {
    std::string limit, running, km, no_rs, place, time, recovery;
    bool change = false; // "/" after the kilometre
};

BodyRow read_row(const std::string& line)
{
    BodyRow row;
    row.limit = trimmed(columns(line, 3, 7));
    row.running = trimmed(columns(line, 9, 13));
    row.km = trimmed(columns(line, 15, 23));
    row.change = line[23] == '/';
    row.no_rs = trimmed(columns(line, 26, 30));
    row.place = columns(line, 32, 59);
    row.time = trimmed(columns(line, 61, 76));
    row.recovery = trimmed(columns(line, 78, 82));
    return row;
}

bool has_time(const BodyRow& row) { return !row.time.empty(); }
bool km_only(const BodyRow& row)
{
    return !row.km.empty() && trimmed(row.place).empty() && row.limit.empty() && row.time.empty();
}

TEST(TimetableSheet, BodyRowsOfEachKind)
{
    const auto lines = sheet_file_lines();
    struct Expected {
        std::size_t timed, untimed, spacers, km_only;
    };
    const Expected expected[] = {{13, 7, 10, 1}, {6, 15, 10, 0}, {15, 8, 8, 0}, {10, 7, 11, 3}};
    for (std::size_t s = 0; s < 4; ++s) {
        SCOPED_TRACE("sheet " + std::to_string(s + 1));
        Expected got{0, 0, 0, 0};
        for (std::size_t n = 15; n <= 45; ++n) {
            const std::string& line = lines[sheet_start[s] + n - 2];
            if (line == spacer_row) {
                ++got.spacers;
                continue;
            }
            const BodyRow row = read_row(line);
            if (km_only(row)) {
                ++got.km_only;
                // The count after a change stands right under the row that announces it.
                EXPECT_TRUE(read_row(lines[sheet_start[s] + n - 3]).change) << line;
            } else if (has_time(row)) {
                ++got.timed;
            } else {
                ++got.untimed;
            }
            EXPECT_TRUE(!row.km.empty() || !trimmed(row.place).empty()) << line;
        }
        EXPECT_EQ(got.timed, expected[s].timed);
        EXPECT_EQ(got.untimed, expected[s].untimed);
        EXPECT_EQ(got.spacers, expected[s].spacers);
        EXPECT_EQ(got.km_only, expected[s].km_only);

        const std::string& closing = lines[sheet_start[s] + 44];
        if (s == 0 || s == 2) {
            EXPECT_EQ(closing, head_rule);
        } else {
            // The last place is drawn with underscores so that it closes the table.
            EXPECT_TRUE(has_time(read_row(closing))) << closing;
            EXPECT_EQ(closing.find(' '), 0u);
            EXPECT_EQ(columns(closing, 3, 7).find(' '), std::string::npos) << closing;
        }
    }
    EXPECT_EQ(columns(lines[sheet_start[1] + 44], 15, 24), "__156.000_");
}

// The body rows of all four sheets that hold a place (sheet from 0, line of the
// sheet from 1), in route order; the closing rows of sheets 2 and 4 included.
struct PlaceLine {
    std::size_t sheet, n;
    std::string line;
};

std::vector<PlaceLine> place_lines(const std::vector<std::string>& lines)
{
    std::vector<PlaceLine> places;
    for (std::size_t sheet = 0; sheet < 4; ++sheet)
        for (std::size_t n = 15; n <= 46; ++n) {
            const std::string& line = lines[sheet_start[sheet] + n - 2];
            if (line != spacer_row && line != head_rule)
                places.push_back({sheet, n, line});
        }
    return places;
}

TEST(TimetableSheet, ColumnsHoldTheirFigures)
{
    const auto lines = sheet_file_lines();
    std::size_t one_star = 0, two_stars = 0, bracketed = 0, blank_no_rs = 0;
    for (const auto& [sheet, n, line] : place_lines(lines)) {
        SCOPED_TRACE(line);
        const BodyRow row = read_row(line);
        if (!row.limit.empty()) {
            EXPECT_NE(line[5], ' ') << "speed limit ends at position 6";
        }
        if (!row.running.empty()) {
            EXPECT_NE(line[11], ' ') << "running speed ends at position 12";
        }
        if (!row.km.empty()) {
            EXPECT_NE(line[22], ' ') << "kilometre ends at position 23";
            if (row.km.front() == '(') {
                ++bracketed;
                EXPECT_EQ(row.km, "(7650)");
            } else {
                ASSERT_GE(row.km.size(), 5u);
                EXPECT_EQ(row.km[row.km.size() - 4], '.') << "three decimals";
            }
        }
        if (columns(line, 26, 30) == " ___ ") {
            ++blank_no_rs;
        } else if (!row.no_rs.empty()) {
            EXPECT_NE(line[28], ' ') << "figure ends at position 29";
        }
        if (has_time(row)) {
            const bool departure = sheet == 0 && n == 15;
            const std::size_t at = departure ? 70 : 66;
            EXPECT_NE(line[at - 1], ' ') << "time starts at position " << at;
            EXPECT_TRUE(line[at - 2] == ' ' || line[at - 2] == '_');
        }
        if (!row.recovery.empty()) {
            EXPECT_TRUE(row.recovery == "0.5" || row.recovery == "1" || row.recovery == "1.5" ||
                        row.recovery == "3");
            EXPECT_EQ(line.substr(78, row.recovery.size()), row.recovery);
        }
        if (line.substr(47, 2) == "**")
            ++two_stars;
        else if (line[47] == '*')
            ++one_star;
    }
    EXPECT_EQ(one_star, 1u);
    EXPECT_EQ(two_stars, 1u);
    EXPECT_EQ(bracketed, 1u);
    EXPECT_EQ(blank_no_rs, 1u);
}

struct Chainage {
    std::int64_t start, offset, direction;
};

struct Station {
    std::int64_t position;
    std::string name;
    int hours, minutes;
};

// Metres from a kilometre figure such as "287.550".
std::int64_t metres_of(const std::string& km)
{
    std::string digits;
    for (const char c : km)
        if (c != '.')
            digits += c;
    return std::stoll(digits);
}

TEST(TimetableSheet, AgreesWithTheLineAndTrainFiles)
{
    std::vector<Chainage> chainages;
    for (const std::string_view line : linea_data())
        if (line.starts_with("progressiva chilometrica")) {
            const auto f = testing::fields_of(line);
            chainages.push_back({std::stoll(f[1]), std::stoll(f[2]), std::stoll(f[3])});
        }
    ASSERT_EQ(chainages.size(), 3u);
    std::vector<Station> stations;
    std::vector<std::pair<std::int64_t, std::int64_t>> limits;
    for (const std::string_view line : treno_data()) {
        const auto f = testing::fields_of(line);
        if (f[0] == "stazione")
            stations.push_back({std::stoll(f[1]), f[17], std::stoi(f[14]), std::stoi(f[15])});
        else if (f[0].starts_with("velocit"))
            limits.emplace_back(std::stoll(f[1]), std::stoll(f[2]));
    }
    ASSERT_EQ(stations.size(), 45u);
    const auto limit_at = [&](std::int64_t p) {
        std::int64_t v = -1;
        for (const auto& [from, speed] : limits)
            if (from <= p)
                v = speed;
        return v;
    };

    const auto lines = sheet_file_lines();
    int chainage = -1; // before the first chainage the kilometre is the route position
    std::int64_t last_position = -1;
    std::size_t next_station = 0, other_timed = 0;
    bool after_change = false;
    for (const auto& [sheet, n, line] : place_lines(lines)) {
        SCOPED_TRACE(line);
        const BodyRow row = read_row(line);
        if (after_change) {
            after_change = false;
            ASSERT_TRUE(km_only(row));
            // A bracketed figure is a change of count that the line file leaves out.
            if (row.km.front() != '(') {
                ++chainage;
                ASSERT_LT(chainage, 3);
                const Chainage& c = chainages[static_cast<std::size_t>(chainage)];
                const std::int64_t km = c.direction == 1 ? c.offset - c.start : c.start + c.offset;
                EXPECT_EQ(metres_of(row.km), km);
            }
            continue;
        }
        ASSERT_FALSE(row.km.empty());
        std::int64_t p = metres_of(row.km);
        if (chainage >= 0) {
            const Chainage& c = chainages[static_cast<std::size_t>(chainage)];
            p = c.direction == 1 ? c.offset - p : p - c.offset;
        }
        EXPECT_GT(p, last_position) << "places follow the route";
        last_position = p;
        after_change = row.change;
        if (!row.limit.empty()) {
            EXPECT_EQ(std::stoll(row.limit), limit_at(p)) << "at " << p << " m";
        }
        if (!has_time(row))
            continue;
        const std::string place = trimmed(row.place); // may end with a footnote marker
        if (next_station < stations.size() &&
            place.starts_with(stations[next_station].name)) {
            EXPECT_EQ(p, stations[next_station].position) << place;
            ++next_station;
        } else {
            ++other_timed; // a service point with a time that is not a station
        }
    }
    EXPECT_EQ(next_station, stations.size()) << "every station of the train file, in order";
    EXPECT_LE(other_timed, 1u);

    // The train leaves and arrives at the times of the train file.
    const BodyRow first = read_row(lines[sheet_start[0] + 13]);
    const BodyRow last = read_row(lines[sheet_start[3] + 44]);
    const auto clock = [](const Station& s) {
        return std::to_string(s.hours) + "." + (s.minutes < 10 ? "0" : "") + std::to_string(s.minutes);
    };
    EXPECT_EQ(first.time, clock(stations.front()));
    EXPECT_EQ(last.time, clock(stations.back()));
}

} // namespace
} // namespace tratta
