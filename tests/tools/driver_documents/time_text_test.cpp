// Times as the timetable sheet and the messages write them.

#include "autore/driver_documents/time_text.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

TEST(TimeText, TimesOfDayToTheHalfMinute)
{
    struct Row {
        double seconds;
        const char* text;
    };
    const Row rows[] = {
        {70500, "19.35"}, {70520, "19.35.30"}, // 19.35.20 is nearer the half
        {70514, "19.35"}, {70515, "19.35"},    // a quarter goes to the even half-minute
        {70545, "19.36"}, {71790, "19.56.30"},
        {28800, "8.00"},  {86400 + 180, "0.03"}, // past midnight the count goes on
        {86399, "0.00"},  {-30, "23.59.30"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(clock_text(row.seconds), row.text);
    }
    EXPECT_EQ(exact_clock_text(70520), "19.35.20");
    EXPECT_EQ(exact_clock_text(86400 + 65), "0.01.05");
}

TEST(TimeText, RunningTimesAndMargins)
{
    EXPECT_EQ(duration_text(10420), "2.53.40");
    EXPECT_EQ(duration_text(254.4), "0.04.14");
    EXPECT_EQ(duration_text(-95), "-0.01.35");
    struct Row {
        double seconds;
        const char* text;
    };
    const Row rows[] = {{0, ""}, {14, ""}, {-40, ""}, {16, "0.5"}, {60, "1"}, {89, "1.5"}, {185, "3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(recovery_text(row.seconds), row.text);
    }
}

} // namespace
} // namespace autore
