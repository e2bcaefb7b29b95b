#include "source/line/progressive_ordina.hpp"

#include "source/field_reader.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace tratta {
namespace {

struct Triple {
    int32_t start;
    int32_t offset;
    int32_t direction;
    bool operator==(const Triple&) const = default;
};

struct OrderCase {
    const char* what;
    std::array<Triple, 3> read;     // as read into records 81 ("tre"), 82 ("due"), 83 ("uno")
    std::array<Triple, 3> expected; // records 81, 82, 83 afterwards
};

constexpr Triple none{0, 0, 0};

const OrderCase order_cases[] = {
    {"the embedded chainages stay, the falling one gets 100 m",
     {{{315950, 412050, 1}, {284500, -284500, 0}, {31100, 3050, 0}}},
     {{{315950, 412150, 1}, {284500, -284500, 0}, {31100, 3050, 0}}}},
    {"only uno", {{none, none, {31100, 3050, 0}}}, {{{31100, 3050, 0}, none, none}}},
    {"uno before due, tre absent", {{none, {1000, 10, 0}, {5000, 20, 0}}}, {{{5000, 20, 0}, {1000, 10, 0}, none}}},
    {"tre latest, due and uno tied", {{{900, 1, 0}, {100, 2, 0}, {100, 3, 0}}},
     {{{900, 1, 0}, {100, 3, 0}, {100, 2, 0}}}},
    {"due latest, tre and uno tied", {{{100, 1, 0}, {900, 2, 0}, {100, 3, 0}}},
     {{{900, 2, 0}, {100, 3, 0}, {100, 1, 0}}}},
    {"uno latest, tre and due tied", {{{100, 1, 0}, {100, 2, 0}, {900, 3, 0}}},
     {{{900, 3, 0}, {100, 2, 0}, {100, 1, 0}}}},
    {"reversed order", {{{100, 1, 0}, {200, 2, 0}, {300, 3, 0}}}, {{{300, 3, 0}, {200, 2, 0}, {100, 1, 0}}}},
    {"two share the latest start: the higher record goes first", {{{500, 1, 0}, {100, 2, 0}, {500, 3, 0}}},
     {{{500, 3, 0}, {500, 1, 0}, {100, 2, 0}}}},
    {"all three share one start", {{{500, 1, 0}, {500, 2, 0}, {500, 3, 0}}},
     {{{500, 3, 0}, {500, 2, 0}, {500, 1, 0}}}},
    {"starts that sum to 0 are ordered by offset", {{{-100, 0, 0}, {100, 0, 0}, {0, 0, 0}}},
     {none, none, none}},
    {"all absent", {{none, none, none}}, {{none, none, none}}},
    {"all starts 0, only tre offset above 0", {{{0, 50, 0}, {0, -60, 0}, {0, 0, 0}}},
     {{{0, 50, 0}, {0, -60, 0}, {0, 0, 0}}}},
    {"all starts 0, due offset above 0", {{{0, 50, 0}, {0, 60, 0}, {0, -5, 0}}},
     {{{0, 60, 0}, {0, 50, 0}, {0, -5, 0}}}},
    {"all starts 0, only uno offset above 0", {{{0, 0, 0}, {0, 0, 0}, {0, 70, 0}}},
     {{{0, 70, 0}, {0, 0, 0}, {0, 0, 0}}}},
    {"all starts 0, the last offset test decides", {{{0, 50, 0}, {0, 60, 0}, {0, 70, 1}}},
     {{{0, 170, 1}, {0, 60, 0}, {0, 50, 0}}}},
    {"only direction 1 is adjusted", {{{300, 0, 2}, {200, 0, 1}, {100, 0, -1}}},
     {{{300, 0, 2}, {200, 100, 1}, {100, 0, -1}}}},
};

class ChainageOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ChainageOrder, PutsTheLatestStartInRecord81)
{
    const OrderCase& c = GetParam();
    ScenarioRecords records;
    for (int i = 0; i < 3; ++i) {
        ScenarioRecord& r = records[81 + i];
        r.start_m = c.read[static_cast<std::size_t>(i)].start;
        r.end_m = c.read[static_cast<std::size_t>(i)].offset;
        r.at_m = c.read[static_cast<std::size_t>(i)].direction;
    }
    progressive_ordina(records);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("record " + std::to_string(81 + i));
        const ScenarioRecord& r = records[81 + i];
        EXPECT_EQ((Triple{r.start_m, r.end_m, r.at_m}), c.expected[static_cast<std::size_t>(i)]);
    }
}

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Chainages, ChainageOrder, ::testing::ValuesIn(order_cases));

TEST(ChainageOrder, AFallingOffsetPushedOutOfItsFieldIsAReadFailure)
{
    ScenarioRecords records;
    records[83].start_m = 100;
    records[83].end_m = std::numeric_limits<int32_t>::max() - 50;
    records[83].at_m = 1;
    EXPECT_THROW(progressive_ordina(records), ReadFailure);
}

} // namespace
} // namespace tratta
