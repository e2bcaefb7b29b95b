// Speed indicators and sign boards beside the track.

#include "line_fixture.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tratta {
namespace {

using testing::run_body;

struct IndicatorCase {
    const char* line;
    int64_t cell;
    int16_t value, value2, value3, value4;
};

TEST(SpeedIndicators, PackTheirSpeedsAndTypes)
{
    const IndicatorCase cases[] = {
        {"indicatori_vmax,  12050,  85,  90,  95,  0,  85,  90,  95,  0", 242, 1717, 1818, 1919, 0},
        {"indicatori_vmax,  1000,  90,  95,  100,  0,  ,  ,  ,  0", 21, 1800, 1900, 2000, 0},
        {"indicatori_vmax,  26350,  130,  140,  145,  2,  130,  140,  145,  2", 528, 2626, 2828, 2929, 22},
        {"indicatori_vmax,  0,  60,  60,  60,  1,  87,  88,  -3,  0", 1, 1217, 1218, 1199, 10},
        {"Indicatori_Vmax,  25,  1638,  0,  0,  0,  35,  0,  0,  0", 2, 32767, 0, 0, 0},
        {"indicatori_vmax,  75,  0,  0,  0,  3276,  0,  0,  0,  9", 2, 0, 0, 0, -32767},
        {"indicatori_vmax,  100,  0,  0,  0,  7000,  0,  0,  0,  -1", 3, 0, 0, 0, 4463},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto run = run_body(30000, {c.line});
        ASSERT_EQ(run->state.error_code, 0);
        const RouteCell& cell = run->cell(c.cell);
        EXPECT_EQ(cell.kind, kind_speed_indicator);
        EXPECT_EQ(cell.value, c.value);
        EXPECT_EQ(cell.value2, c.value2);
        EXPECT_EQ(cell.value3, c.value3);
        EXPECT_EQ(cell.value4, c.value4);
    }
}

TEST(SpeedIndicators, APackedSpeedBeyondItsFieldKeepsWhatWasStoredBeforeIt)
{
    const auto run = run_body(1000, {"indicatori_vmax, 500, 90, 1700, 90, 0, 0, 0, 0, 0"});
    EXPECT_EQ(run->state.error_code, 25);
    const RouteCell& cell = run->cell(11);
    EXPECT_EQ(cell.kind, kind_speed_indicator);
    EXPECT_EQ(cell.value, 1800);
    EXPECT_EQ(cell.value2, 0);
}

TEST(SignBoards, TakeTheRecordsFrom80Downward)
{
    const auto run = run_body(40000, {"cartello_indicatore,  28000,   (  Cippo  )(Km 28+000)",
                                      "CARTELLO_INDICATORE,  100, ", "cartello_indicatore,  30000,  (Dev.)(U.  )"});
    const RunState& s = run->state;
    ASSERT_EQ(s.error_code, 0);
    const struct {
        int64_t cell;
        int slot;
        const char* text;
    } expected[] = {{561, 80, "(  Cippo  )(Km 28+000)"}, {3, 79, ""}, {601, 78, "(Dev.)(U.  )"}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.slot);
        EXPECT_EQ(run->cell(e.cell).kind, kind_sign_board);
        EXPECT_EQ(run->cell(e.cell).value, e.slot);
        EXPECT_EQ(s.records[e.slot].text, e.text);
        EXPECT_EQ(s.records[e.slot].start_m, 0);
    }
    EXPECT_EQ(run->handoff.board_slot, 77);
}

TEST(SignBoards, ASpeedIndicatorKeyIsNoSignBoard)
{
    // "indicatori_vmax" holds "indicat" but not "cartello"; a key holding
    // both words places both boards, one after the other.
    const auto run = run_body(1000, {"indicatori_vmax, 100, 90, 90, 90, 0, , , , 0",
                                     "cartello indicatori_vmax, 200, 90, 90, 90, 0, , , , 0, 300, (Km 1)"});
    const RunState& s = run->state;
    ASSERT_EQ(s.error_code, 0);
    EXPECT_EQ(run->cell(3).kind, kind_speed_indicator);
    EXPECT_EQ(run->cell(5).kind, kind_speed_indicator);
    EXPECT_EQ(run->cell(7).kind, kind_sign_board);
    EXPECT_EQ(s.records[80].text, "(Km 1)");
    EXPECT_EQ(run->handoff.board_slot, 79);
}

} // namespace
} // namespace tratta
