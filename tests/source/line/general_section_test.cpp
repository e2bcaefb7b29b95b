// The general section: which line fills which header field, and the sizes
// that the route length gives the grid and the line table.

#include "line_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::line_file;
using testing::run_line_text;

struct HeaderField {
    int record;
    int32_t ScenarioRecord::*field;
    int32_t value;
};

struct GeneralCase {
    const char* what;
    std::vector<std::string> general; // after the length line
    std::vector<HeaderField> expected;
};

constexpr auto start = &ScenarioRecord::start_m;
constexpr auto end = &ScenarioRecord::end_m;
constexpr auto at = &ScenarioRecord::at_m;

const GeneralCase general_cases[] = {
    {"the embedded general section",
     {"progressiva chilometrica uno,    31100,    3050,    0", "progressiva chilometrica due,    284500,    -284500,    0",
      "progressiva chilometrica tre,    315950,    412050,    1", "sfondo uno,    1", "sfondo due,    0",
      "sfondo tre,    0", "ripetizione segnali 9 codici,    7050,    330700"},
     {{81, start, 315950}, {81, end, 412150}, {81, at, 1}, {82, start, 284500}, {82, end, -284500}, {82, at, 0},
      {83, start, 31100}, {83, end, 3050}, {83, at, 0}, {84, end, 1000}, {85, start, 1}, {86, start, 7050},
      {86, end, 330700}, {86, at, 9}}},
    {"second background to at_m, third to end_m", {"sfondo tre, 8", "sfondo due, 7"}, {{85, at, 7}, {85, end, 8}}},
    {"words of the chainage and background keys are compared exactly",
     {"Sfondo uno, 5", "SFONDO DUE, 6", "Progressiva tre, 100, 200, 0"}, {{85, start, 0}, {85, at, 0}, {81, start, 0}}},
    {"every test is made on the same key", {"sfondo uno due, 4, 5"}, {{85, start, 4}, {85, at, 5}}},
    {"repetition with the 4-code system", {"ripetizione segnali 4 codici, 100, 200"}, {{86, at, 4}}},
    {"a repetition key with both digits takes 4", {"ripetizione segnali 9 o 4, 100, 200"}, {{86, at, 4}}},
    {"a repetition ending at 0 has no code system", {"ripetizione segnali 9 codici, 7050, 0"},
     {{86, start, 7050}, {86, end, 0}, {86, at, 0}}},
    {"a repetition start of -50 is on the 50 m step", {"ripetizione segnali 9 codici, -50, 100"},
     {{86, start, -50}, {86, at, 9}}},
    {"the length words ignore case", {"LUNGHEZZA Percorso, 2000"}, {{84, end, 2000}}},
};

class GeneralKeys : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralKeys, FillTheHeaderRecords)
{
    const GeneralCase& c = GetParam();
    std::vector<std::string> general{"lunghezza percorso, 1000"};
    general.insert(general.end(), c.general.begin(), c.general.end());
    const auto run = run_line_text(line_file(general, {}));
    ASSERT_EQ(run->state.error_code, 0);
    for (const auto& f : c.expected) {
        SCOPED_TRACE("record " + std::to_string(f.record));
        EXPECT_EQ(run->state.records[f.record].*f.field, f.value);
    }
}

void PrintTo(const GeneralCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(General, GeneralKeys, ::testing::ValuesIn(general_cases));

struct SizeCase {
    int32_t length_m;
    int32_t last_cell;
};

TEST(RouteLength, SizesTheGridAndTheLineTable)
{
    const SizeCase cases[] = {
        {0, 140}, {25, 140}, {75, 142}, {334000, 6820}, {334025, 6820}, {334075, 6822}, {1000000, 20140},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length_m);
        const auto run = run_line_text(line_file({"lunghezza percorso, " + std::to_string(c.length_m)}, {}));
        const RunState& s = run->state;
        ASSERT_EQ(s.error_code, 0);
        EXPECT_EQ(s.records[84].end_m, c.length_m);
        EXPECT_EQ(s.cells.last(), c.last_cell);
        EXPECT_EQ(s.profile.last_m(), int64_t{c.length_m} + 7000);
    }
}

TEST(RouteLength, ASecondLengthLineSizesEverythingAnew)
{
    const auto run = run_line_text(line_file({"lunghezza percorso, 334000", "lunghezza percorso, 0"}, {}));
    EXPECT_EQ(run->state.cells.last(), 140);
    EXPECT_EQ(run->state.profile.last_m(), 7000);
}

TEST(RouteLength, WithoutTheLineTableCurvesArePassedOverFieldByField)
{
    // The curve's values are read as keys: the second one is a gradient line.
    const auto run = run_line_text(line_file({"lunghezza percorso, 1000"}, {"curvad3, 100, pendenza, 500, 4"}), 0);
    const RunState& s = run->state;
    ASSERT_EQ(s.error_code, 0);
    EXPECT_FALSE(s.profile.exists());
    EXPECT_EQ(run->cell(9).gradient, 100);
    EXPECT_EQ(run->cell(10).gradient, 104);

    // With the table the same line is a curve from 100 m over 0 m, then a gradient key.
    const auto with_table = run_line_text(line_file({"lunghezza percorso, 1000"}, {"curvad3, 100, pendenza, 500, 4"}));
    EXPECT_TRUE(with_table->state.profile.exists());
    EXPECT_EQ(with_table->cell(10).gradient, 100);
}

} // namespace
} // namespace tratta
