// The train of the embedded scenario as the compile step leaves it: its
// general values, first and last stations, a signal and the two slowdowns.

#include "support/embedded_compile.hpp"

#include <gtest/gtest.h>

namespace tratta::testing {
namespace {

class EmbeddedTrain : public ::testing::Test {
protected:
    void SetUp() override { state_ = &embedded_compile().result.model; }
    const RouteCell& cell(int64_t i) const { return state_->cells.at(i); }
    const ScenarioRecord& record(int i) const { return state_->records[i]; }

    const RunState* state_ = nullptr;
};

TEST_F(EmbeddedTrain, GeneralValues)
{
    EXPECT_EQ(state_->error_code, 0);
    EXPECT_EQ(record(84).start_m, 125);
    EXPECT_EQ(record(84).at_m, 16);
    EXPECT_EQ(record(86).int_a, 200);
    EXPECT_EQ(record(86).int_c, 19);
    EXPECT_EQ(record(86).int_d, 35);
    EXPECT_EQ(record(86).int_e, 20);
}

TEST_F(EmbeddedTrain, FirstAndLastStations)
{
    EXPECT_EQ(record(1).start_m, -500);
    EXPECT_EQ(record(1).end_m, 500);
    EXPECT_EQ(record(1).time_s, 70520);
    EXPECT_EQ(cell(9).kind, kind_station_stop);
    EXPECT_EQ(cell(9).value, 1);
    EXPECT_EQ(cell(8).approach, 81);
    EXPECT_EQ(record(2).start_m, 2900);
    EXPECT_EQ(record(2).end_m, 3300);
    EXPECT_EQ(cell(65).value, 2);
    EXPECT_EQ(record(45).time_s, 80940);
    EXPECT_EQ(record(46).at_m, 0);
}

TEST_F(EmbeddedTrain, TheFirstSignal)
{
    const RouteCell& sig = cell(22);
    EXPECT_EQ(sig.kind, kind_signal);
    EXPECT_EQ(sig.value, 42);
    EXPECT_EQ(sig.value2, 11);
    EXPECT_EQ(sig.value3, 11);
    EXPECT_EQ(sig.value4, 8);
    EXPECT_EQ(cell(20).approach, 81);
    EXPECT_EQ(cell(14).approach, 84);
}

TEST_F(EmbeddedTrain, TheTwoSlowdowns)
{
    EXPECT_EQ(cell(4157).kind, kind_slowdown_warning);
    EXPECT_EQ(cell(4181).kind, kind_slowdown_start);
    EXPECT_EQ(cell(4181).value, 80);
    EXPECT_EQ(cell(4195).kind, kind_slowdown_end);
    for (int64_t i = 4153; i <= 4156; ++i)
        EXPECT_EQ(cell(i).value, 4157 - i) << i;
    EXPECT_EQ(cell(4173).value2, 60);
    EXPECT_EQ(cell(4197).kind, kind_slowdown_start);
    EXPECT_EQ(cell(4225).kind, kind_slowdown_end);
    // The finishing pass placed code points of 180 through the 60 km/h slowdown.
    EXPECT_EQ(cell(4205).kind, kind_code_point);
    EXPECT_EQ(cell(4205).value, 180);
}

} // namespace
} // namespace tratta::testing
