// The line file and the train file of the embedded scenario, checked on the
// lines the writer makes: sections, counts, value ranges and the lines that the
// simulator's users know by heart.

#include "scenario/document_lines.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tratta {
namespace {

using testing::is_ascii;
using testing::written_lines;

// The comma-separated fields of a line, blanks around each removed.
std::vector<std::string> fields_of(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        std::string f = line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto first = f.find_first_not_of(' ');
        const auto last = f.find_last_not_of(' ');
        out.push_back(first == std::string::npos ? std::string() : f.substr(first, last - first + 1));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

int64_t number(const std::string& field)
{
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(ec == std::errc() && end == field.data() + field.size()) << "not a whole number: '" << field << "'";
    return value;
}

// The lines whose key (first field) is one of the given keys, split into fields.
std::vector<std::vector<std::string>> lines_with_key(const std::vector<std::string>& lines,
                                                     std::set<std::string> keys)
{
    std::vector<std::vector<std::string>> out;
    for (const auto& l : lines) {
        auto f = fields_of(l);
        if (keys.count(f[0]))
            out.push_back(std::move(f));
    }
    return out;
}

std::vector<std::size_t> header_line_numbers(const std::vector<std::string>& lines)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty() && lines[i].front() == '[')
            out.push_back(i + 1);
    return out;
}

bool contains_line(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Every value of column `column` (0 = key) of the rows, as whole numbers.
std::set<int64_t> values_of(const std::vector<std::vector<std::string>>& rows, std::size_t column)
{
    std::set<int64_t> out;
    for (const auto& r : rows)
        out.insert(number(r.at(column)));
    return out;
}

// ---------------------------------------------------------------- line file

TEST(EmbeddedLineFile, HasItsSectionsAndGeneralLines)
{
    const auto lines = written_lines(linea_data());
    ASSERT_EQ(lines.size(), 521u);
    EXPECT_EQ(header_line_numbers(lines), (std::vector<std::size_t>{1, 10, 199, 418, 434, 499, 521}));
    const std::vector<std::string> general = {
        "[generale]",
        "lunghezza percorso,    334000",
        "progressiva chilometrica uno,    31100,    3050,    0",
        "progressiva chilometrica due,    284500,    -284500,    0",
        "progressiva chilometrica tre,    315950,    412050,    1",
        "sfondo uno,    1",
        "sfondo due,    0",
        "sfondo tre,    0",
        "ripetizione segnali 9 codici,    7050,    330700",
        "[curve]",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), general);
    EXPECT_EQ(lines.back(), "[fine]");

    std::size_t longest = 0;
    for (const auto& l : lines) {
        EXPECT_TRUE(is_ascii(l)) << l;
        longest = std::max(longest, l.size());
    }
    EXPECT_EQ(longest, 68u);
}

TEST(EmbeddedLineFile, CurvesBendBothWaysInEveryClass)
{
    const auto lines = written_lines(linea_data());
    std::map<std::string, int> per_key;
    std::vector<std::pair<int64_t, int64_t>> spans; // start, length, in file order
    for (const auto& l : lines) {
        if (!l.starts_with("curva"))
            continue;
        const auto f = fields_of(l);
        ASSERT_EQ(f.size(), 3u) << l;
        ++per_key[f[0]];
        spans.emplace_back(number(f[1]), number(f[2]));
    }
    ASSERT_EQ(spans.size(), 188u);
    int left = 0;
    for (int cls = 1; cls <= 6; ++cls) {
        SCOPED_TRACE("class " + std::to_string(cls));
        EXPECT_GT(per_key["curvas" + std::to_string(cls)], 0);
        EXPECT_GT(per_key["curvad" + std::to_string(cls)], 0);
        left += per_key["curvas" + std::to_string(cls)];
    }
    EXPECT_EQ(left, 100);

    int64_t first_start = spans[0].first, last_start = 0, shortest = 1900, longest = 0;
    for (const auto& [start, length] : spans) {
        EXPECT_EQ(start % 50, 0);
        EXPECT_EQ(length % 50, 0);
        last_start = std::max(last_start, start);
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    EXPECT_EQ(first_start, 1350);
    EXPECT_EQ(last_start, 332050);
    EXPECT_EQ(shortest, 50);
    EXPECT_EQ(longest, 1900);

    EXPECT_EQ(lines[10], "curvas1,  1350,  150");
    EXPECT_EQ(lines[11], "curvad3,  2150,  100");
    // One stray line stands behind the curve ending at 89400 m; every other
    // curve begins where the one before it has ended or later.
    int out_of_order = 0;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first >= spans[i - 1].first + spans[i - 1].second)
            continue;
        ++out_of_order;
        EXPECT_EQ(spans[i - 1], std::make_pair(int64_t{89250}, int64_t{150}));
        EXPECT_EQ(spans[i], std::make_pair(int64_t{80850}, int64_t{150}));
    }
    EXPECT_EQ(out_of_order, 1);
    EXPECT_TRUE(contains_line(lines, "curvas3,  80850,  150"));
}

TEST(EmbeddedLineFile, GradientsRunFromTheOriginToTheLastChange)
{
    const auto lines = written_lines(linea_data());
    ASSERT_EQ(lines.size(), 521u);
    EXPECT_EQ(lines[199], "pendenza,  0,   0");
    EXPECT_EQ(lines[200], "pendenza,  600,   -11");
    EXPECT_EQ(lines[201], "pendenza,  1200,   0");
    EXPECT_TRUE(contains_line(lines, "pendenza,  1250,   -4,5"));

    const auto rows = lines_with_key(lines, {"pendenza"});
    ASSERT_EQ(rows.size(), 218u);
    int64_t previous = -1, lowest = 0, highest = 0;
    for (const auto& r : rows) {
        const int64_t at = number(r[1]);
        EXPECT_GT(at, previous);
        EXPECT_EQ(at % 50, 0);
        previous = at;
        lowest = std::min(lowest, number(r[2]));
        highest = std::max(highest, number(r[2]));
    }
    EXPECT_EQ(number(rows.back()[1]), 315750);
    EXPECT_EQ(lowest, -11);
    EXPECT_EQ(highest, 16); // only the climb out of the Fornace tunnel
}

TEST(EmbeddedLineFile, MountainSidesAreSeparatedStretches)
{
    const auto lines = written_lines(linea_data());
    EXPECT_TRUE(contains_line(lines, "montagna,   8750,  11050,  12"));
    EXPECT_TRUE(contains_line(lines, "montagna,   292600,  292850,  2"));
    const auto rows = lines_with_key(lines, {"montagna"});
    ASSERT_EQ(rows.size(), 15u);
    std::map<int64_t, int> per_code;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ++per_code[number(rows[i][3])];
        if (i > 0) {
            EXPECT_GT(number(rows[i][1]) - number(rows[i - 1][2]), 150) << rows[i][1];
        }
    }
    EXPECT_EQ(per_code, (std::map<int64_t, int>{{2, 6}, {12, 9}}));
    EXPECT_EQ(number(rows.front()[1]), 8750);
    EXPECT_EQ(number(rows.back()[1]), 302400);
}

TEST(EmbeddedLineFile, SpeedBoardsShowRankSpeeds)
{
    const auto lines = written_lines(linea_data());
    for (const char* quoted : {"indicatori_vmax,  12050,  85,  90,  95,  0,  85,  90,  95,  0",
                               "indicatori_vmax,  1000,  90,  95,  100,  0,  ,  ,  ,  0",
                               "indicatori_vmax,  26350,  130,  140,  145,  2,  130,  140,  145,  2"})
        EXPECT_TRUE(contains_line(lines, quoted)) << quoted;

    const auto rows = lines_with_key(lines, {"indicatori_vmax"});
    ASSERT_EQ(rows.size(), 64u);
    int without_rank_p = 0;
    std::set<int64_t> speeds, types;
    for (const auto& r : rows) {
        ASSERT_EQ(r.size(), 10u);
        if (r[6].empty() && r[7].empty() && r[8].empty())
            ++without_rank_p;
        for (const std::size_t c : {2u, 3u, 4u, 6u, 7u, 8u})
            if (!r[c].empty())
                speeds.insert(number(r[c]));
        types.insert(number(r[5]));
        types.insert(number(r[9]));
    }
    EXPECT_EQ(without_rank_p, 18);
    EXPECT_EQ(*speeds.begin(), 60);
    EXPECT_EQ(*speeds.rbegin(), 170);
    EXPECT_EQ(types, (std::set<int64_t>{0, 1, 2}));
}

// The kilometre shown at route position p under the three chainages of the
// general section: p itself before the first, then p + offset (direction 0) or
// offset - p (direction 1).
int64_t kilometre_at(int64_t p)
{
    struct Count {
        int64_t start, offset, direction;
    };
    const Count counts[] = {{315950, 412050, 1}, {284500, -284500, 0}, {31100, 3050, 0}};
    for (const auto& c : counts)
        if (p >= c.start)
            return c.direction == 1 ? c.offset - p : p + c.offset;
    return p;
}

TEST(EmbeddedLineFile, KilometrePostsAgreeWithTheChainages)
{
    const auto lines = written_lines(linea_data());
    const auto rows = lines_with_key(lines, {"cartello_indicatore"});
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(lines[499], "cartello_indicatore,  28000,   (  Cippo  )(Km 28+000)");
    EXPECT_EQ(number(rows.back()[1]), 330750);
    int posts = 0;
    for (const auto& r : rows) {
        const std::size_t km = r[2].find("Km ");
        if (km == std::string::npos)
            continue;
        ++posts;
        const std::size_t plus = r[2].find('+', km);
        const int64_t shown = number(r[2].substr(km + 3, plus - km - 3)) * 1000 + number(r[2].substr(plus + 1, 3));
        EXPECT_LE(std::llabs(shown - kilometre_at(number(r[1]))), 50) << r[1] << " " << r[2];
    }
    EXPECT_GE(posts, 3);
}

// ---------------------------------------------------------------- train file

TEST(EmbeddedTrainFile, HasItsSectionsAndGeneralLines)
{
    const auto lines = written_lines(treno_data());
    ASSERT_EQ(lines.size(), 374u);
    EXPECT_EQ(header_line_numbers(lines), (std::vector<std::size_t>{1, 6, 20, 64, 110, 113, 294, 374}));
    EXPECT_EQ(lines[1], "numero vetture,    16");
    EXPECT_EQ(lines[2], "percentuale massa frenata,    125");
    EXPECT_EQ(lines[3], "sabbia,    200");
    EXPECT_EQ(lines[4], "orologio,    19              35            20 ");
    EXPECT_EQ(lines[110], "rallentamento,  209000,    80,  700, 0,  1,  0");
    EXPECT_EQ(lines[111], "rallentamento,  209800,    60, 1400, 0,  0,  60");
    EXPECT_EQ(lines.back(), "[fine]");
}

TEST(EmbeddedTrainFile, ProfilesStartAtTheOrigin)
{
    const auto lines = written_lines(treno_data());
    const auto adhesion = lines_with_key(lines, {"aderenza"});
    ASSERT_EQ(adhesion.size(), 13u);
    EXPECT_EQ(number(adhesion.front()[1]), 0);
    const auto adhesion_values = values_of(adhesion, 2);
    EXPECT_EQ(*adhesion_values.begin(), 65);
    EXPECT_EQ(*adhesion_values.rbegin(), 96);

    // The accented key is written in the single-byte code page: à is 0xE0.
    const std::string accented = "velocit\xE0";
    const auto plain = lines_with_key(lines, {"velocita"});
    const auto speeds = lines_with_key(lines, {"velocita", accented});
    EXPECT_EQ(plain.size(), 41u);
    ASSERT_EQ(speeds.size(), 43u);
    EXPECT_EQ(number(speeds.front()[1]), 0);
    // The two accented keys are the only bytes outside ASCII in the file.
    int non_ascii = 0;
    for (const auto& l : lines) {
        if (is_ascii(l))
            continue;
        ++non_ascii;
        EXPECT_TRUE(l.starts_with(accented + ",")) << l;
    }
    EXPECT_EQ(non_ascii, 2);
    int64_t previous = -1;
    for (const auto& r : speeds) {
        EXPECT_GT(number(r[1]), previous);
        previous = number(r[1]);
        EXPECT_EQ(number(r[2]) % 5, 0);
    }
    const auto limits = values_of(speeds, 2);
    EXPECT_EQ(*limits.begin(), 30);
    EXPECT_EQ(*limits.rbegin(), 160);
}

TEST(EmbeddedTrainFile, StationsTakeOnlyTheirKnownValues)
{
    const auto lines = written_lines(treno_data());
    EXPECT_TRUE(contains_line(lines, "stazione,    3100, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, "
                                     "Portaurea San Vito"));
    const auto rows = lines_with_key(lines, {"stazione"});
    ASSERT_EQ(rows.size(), 45u);
    struct Column {
        std::size_t field;
        std::set<int64_t> values;
    };
    const std::vector<Column> table = {
        {2, {2, 4, 8, 12, 21, 22, 27, 28}},
        {3, {200, 300, 400, 500, 600}},
        {4, {0, 1}},
        {5, {0, 1}},
        {6, {0, 1}},
        {7, {0, 1, 4}},
        {8, {0, 1}},
        {9, {0}},
        {10, {0, 2, 4}},
        {11, {0, 1, 3}},
        {12, {0, 1}},
        {13, {0, 1}},
    };
    for (const auto& c : table) {
        SCOPED_TRACE("field " + std::to_string(c.field));
        EXPECT_EQ(values_of(rows, c.field), c.values);
    }
    int previous = -1;
    int second_flags = 0, third_flags = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 18u);
        SCOPED_TRACE(r[17]);
        EXPECT_FALSE(r[17].empty());
        const int64_t at = number(r[1]);
        EXPECT_GT(at, previous);
        EXPECT_EQ(at % 50, 0);
        previous = static_cast<int>(at);
        const bool first = i == 0, last = i + 1 == rows.size();
        EXPECT_EQ(number(r[4]), first ? 1 : 0);
        EXPECT_EQ(number(r[13]), first ? 1 : 0);
        std::vector<int64_t> expected_time = {0, 0, 0};
        if (first)
            expected_time = {19, 35, 20};
        else if (last)
            expected_time = {22, 29, 0};
        EXPECT_EQ((std::vector<int64_t>{number(r[14]), number(r[15]), number(r[16])}), expected_time);
        if (number(r[5]) == 1) {
            ++second_flags;
            EXPECT_EQ(number(r[3]), 600);
        }
        third_flags += static_cast<int>(number(r[6]));
    }
    EXPECT_EQ(second_flags, 3);
    EXPECT_EQ(third_flags, 3);
    EXPECT_EQ(number(rows.front()[1]), 0);
    EXPECT_EQ(number(rows.front()[2]), 8);
    EXPECT_EQ(number(rows.back()[1]), 332750);
}

TEST(EmbeddedTrainFile, SignalsAndCodePointsTakeOnlyTheirKnownValues)
{
    const auto lines = written_lines(treno_data());
    EXPECT_EQ(lines[113], "segnale,    1050,   2, 4, 1,  1, 0,    2,  2,1,1, 0");
    const auto signals = lines_with_key(lines, {"segnale"});
    ASSERT_EQ(signals.size(), 180u);
    const std::vector<std::set<int64_t>> digits = {
        {2}, {2, 3, 4, 5}, {0, 1, 4}, {0, 1}, {0}, {0, 1, 2}, {0, 1, 2, 3}, {0, 1}, {0, 1}, {0, 199},
    };
    for (std::size_t field = 2; field <= 11; ++field) {
        SCOPED_TRACE("field " + std::to_string(field));
        EXPECT_EQ(values_of(signals, field), digits[field - 2]);
    }
    int64_t previous = -1;
    for (const auto& r : signals) {
        EXPECT_GT(number(r[1]), previous);
        EXPECT_EQ(number(r[1]) % 50, 0);
        previous = number(r[1]);
    }
    EXPECT_EQ(number(signals.front()[1]), 1050);
    EXPECT_EQ(number(signals.back()[1]), 331100);

    EXPECT_TRUE(contains_line(lines, "abbattimento,    7050,   270"));
    const auto codes = lines_with_key(lines, {"abbattimento"});
    EXPECT_EQ(codes.size(), 79u);
    EXPECT_EQ(values_of(codes, 2), (std::set<int64_t>{270}));
}

} // namespace
} // namespace tratta
