// Gradients spread over the route grid from the cursor, and their tail.

#include "line_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::run_body;

struct Span {
    int64_t first;
    int64_t last;
    int gradient; // as stored: gradient + 100, low 8 bits
};

struct GradientCase {
    const char* what;
    std::vector<std::string> lines;
    std::vector<Span> spans; // on a route of 1000 m: cells 0 to 160, the tail up to 157
};

const GradientCase gradient_cases[] = {
    {"no gradient line: level up to N - 3", {}, {{0, 157, 100}, {158, 160, 0}}},
    {"the embedded start", {"pendenza,  0,   0", "pendenza,  600,   -11", "pendenza,  1200,   0"},
     {{0, 11, 100}, {12, 23, 89}, {24, 157, 100}, {158, 160, 0}}},
    {"a line at 0 writes no cell", {"pendenza, 0, 5"}, {{0, 157, 105}}},
    {"the decimal comma", {"pendenza,  1250,   -4,5"}, {{0, 24, 100}, {25, 157, 96}}},
    {"1275 m rounds to cell 26", {"pendenza, 1275, 3"}, {{0, 25, 100}, {26, 157, 103}}},
    {"1325 m rounds to cell 26 too", {"pendenza, 1325, 3"}, {{0, 25, 100}, {26, 157, 103}}},
    {"a line behind the cursor writes the cell under it", {"pendenza, 500, 3", "pendenza, 200, 7"},
     {{0, 9, 100}, {10, 10, 103}, {11, 157, 107}}},
    {"a line at the cursor writes the cell under it", {"pendenza, 500, 3", "pendenza, 500, 7"},
     {{0, 9, 100}, {10, 10, 103}, {11, 157, 107}}},
    {"gradients are stored in their low 8 bits", {"pendenza, 100, 200", "pendenza, 200, -150"},
     {{0, 1, 100}, {2, 3, 44}, {4, 157, 206}}},
    {"a last line beyond N - 3 still gets its one tail cell", {"pendenza, 100, 1", "pendenza, 7900, 9"},
     {{0, 1, 100}, {2, 157, 101}, {158, 158, 109}, {159, 160, 0}}},
};

class Gradients : public ::testing::TestWithParam<GradientCase> {};

TEST_P(Gradients, FillTheCellsFromTheCursor)
{
    const GradientCase& c = GetParam();
    const auto run = run_body(1000, c.lines);
    ASSERT_EQ(run->state.error_code, 0);
    ASSERT_EQ(run->state.cells.last(), 160);
    for (const auto& span : c.spans)
        for (int64_t i = span.first; i <= span.last; ++i) {
            SCOPED_TRACE("cell " + std::to_string(i));
            EXPECT_EQ(run->cell(i).gradient, span.gradient);
        }
}

void PrintTo(const GradientCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Lines, Gradients, ::testing::ValuesIn(gradient_cases));

TEST(Gradients, ACursorPushedPastTheGridWritesNothingThere)
{
    // Every line at 50 m stands behind the cursor and moves it one cell on.
    std::vector<std::string> lines{"pendenza, 50, 1"};
    for (int i = 0; i < 300; ++i)
        lines.push_back("pendenza, 50, " + std::to_string(i % 50));
    const auto run = run_body(0, lines);
    ASSERT_EQ(run->state.error_code, 0);
    ASSERT_EQ(run->state.cells.last(), 140);
    EXPECT_EQ(run->cell(0).gradient, 100);
    EXPECT_EQ(run->cell(1).gradient, 101);
    EXPECT_EQ(run->cell(2).gradient, 100);
    EXPECT_EQ(run->cell(140).gradient, 100 + 138 % 50);
}

} // namespace
} // namespace tratta
