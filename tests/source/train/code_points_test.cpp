#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace tratta::testing {
namespace {

struct CodePointCase {
    const char* line;
    uint8_t kind_before;
    int16_t value_before;
    uint8_t kind;
    int16_t value;
};

// Code points take the cell of their position: 7050 m is cell 141.
TEST(CodePoint, TakesTheCellOfItsPosition)
{
    const CodePointCase cases[] = {
        {"abbattimento, 7050, 270", kind_none, 0, kind_code_point, 270},
        {"abbattimento, 7050, 32767", kind_none, 0, kind_code_point, 32767},
        {"abbattimento, 7050, 0", kind_none, 5, kind_code_point_plain, 5},
        {"abbattimento, 7050, -20", kind_none, 5, kind_code_point_plain, 5},
        {"abbattimento, 7050, 270", kind_mountain_marker, 5, kind_code_point, 270},
    };
    for (const CodePointCase& c : cases) {
        SCOPED_TRACE(c.line);
        TrainRun run;
        run.cell(141).kind = c.kind_before;
        run.cell(141).value = c.value_before;
        run.read_lines({c.line});
        EXPECT_EQ(run.state.error_code, 0);
        EXPECT_EQ(run.cell(141).kind, c.kind);
        EXPECT_EQ(run.cell(141).value, c.value);
        EXPECT_EQ(run.cell(142).kind, kind_none);
    }
}

TEST(CodePoint, OnASignalCellEndsTheReadWithError7)
{
    TrainRun run;
    run.mark_profiles(99);
    run.read_lines({"segnale, 7000, 2, 4,1,1,0, 0, 2,1,1, 0", "abbattimento, 7050, 270", "sabbia, 200"});
    EXPECT_EQ(run.state.error_code, 7);
    EXPECT_EQ(run.state.error_at_m, 7050);
    EXPECT_EQ(run.error_place().line, 3);
    EXPECT_EQ(run.cell(141).kind, kind_signal);
    EXPECT_EQ(run.record(86).int_a, 0);
    EXPECT_EQ(run.cell(0).speed5, 99);
    EXPECT_FALSE(run.train_file_left());
}

// A code value beyond 16 bits does not fit its cell: the read fails, and the
// cell keeps the kind already written.
TEST(CodePoint, ValueAbove32767FailsTheRead)
{
    TrainRun run;
    run.read_lines({"abbattimento, 7050, 32768"});
    EXPECT_EQ(run.state.error_code, 25);
    EXPECT_EQ(run.cell(141).kind, kind_code_point);
    EXPECT_EQ(run.cell(141).value, 0);
    EXPECT_FALSE(run.train_file_left());
}

} // namespace
} // namespace tratta::testing
