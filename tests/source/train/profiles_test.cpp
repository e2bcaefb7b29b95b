#include "source/train/train_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tratta::testing {
namespace {

// A stretch of cells from..to (inclusive) holding one value.
struct Stretch {
    int64_t from, to;
    uint8_t value;
};

struct ProfileCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<Stretch> speed;    // every other cell keeps the mark 99
    std::vector<Stretch> adhesion; // the same for adhesion
};

// Cells 0 to 340: the completion ends at cell 337 (N - 3).
const ProfileCase profile_cases[] = {
    {"speed lines at 0, 1000 and 6900",
     {"velocita, 0, 30", "velocita, 1000, 95", "velocita, 6900, 40"},
     {{0, 19, 6}, {20, 137, 19}, {138, 337, 8}},
     {{0, 337, 0}}},
    {"a position of 125 m lies in cell 2",
     {"velocita, 0, 30", "velocita, 125, 50"},
     {{0, 1, 6}, {2, 337, 10}},
     {{0, 337, 0}}},
    {"a position of 175 m lies in cell 4",
     {"velocita, 0, 30", "velocita, 175, 50"},
     {{0, 3, 6}, {4, 337, 10}},
     {{0, 337, 0}}},
    {"a second line at the same position still fills one cell",
     {"velocita, 0, 30", "velocita, 500, 60", "velocita, 500, 90"},
     {{0, 9, 6}, {10, 10, 12}, {11, 337, 18}},
     {{0, 337, 0}}},
    {"the stretch before the first line takes its value",
     {"velocita, 1000, 60", "aderenza, 500, 80", "aderenza, 2000, 70"},
     {{0, 337, 12}},
     {{0, 39, 80}, {40, 337, 70}}},
    {"no line at all: both profiles 0", {}, {{0, 337, 0}}, {{0, 337, 0}}},
    {"the speed goes to the nearest fifth, halves to even",
     {"velocita, 0, 12", "velocita, 50, 13", "velocita, 100, 1277", "velocita, 150, 2"},
     {{0, 0, 2}, {1, 1, 3}, {2, 2, 255}, {3, 337, 0}},
     {{0, 337, 0}}},
    {"adhesion keeps its low 8 bits",
     {"aderenza, 0, 300", "aderenza, 100, -1"},
     {{0, 337, 0}},
     {{0, 1, 44}, {2, 337, 255}}},
    // Lines at the last position accepted push the cursors to the grid's end;
    // the fills stop before cell N and the completion writes at most cell N.
    {"lines at the end of the grid",
     {"velocita, 0, 30", "velocita, 16900, 40", "velocita, 16900, 50", "velocita, 16900, 60",
      "velocita, 16900, 70"},
     {{0, 337, 6}, {338, 338, 8}, {339, 339, 10}, {340, 340, 14}},
     {{0, 337, 0}}},
};

class ProfileFill : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileFill, SetsEachCellOnce)
{
    const ProfileCase& c = GetParam();
    SCOPED_TRACE(c.name);
    TrainRun run;
    run.mark_profiles(99);
    run.read_lines(c.lines);
    ASSERT_EQ(run.state.error_code, 0);
    const auto expected = [](const std::vector<Stretch>& stretches, int64_t i) {
        for (const Stretch& s : stretches)
            if (i >= s.from && i <= s.to)
                return s.value;
        return uint8_t{99};
    };
    for (int64_t i = 0; i <= run.state.cells.last(); ++i) {
        EXPECT_EQ(run.cell(i).speed5, expected(c.speed, i)) << "speed, cell " << i;
        EXPECT_EQ(run.cell(i).adhesion, expected(c.adhesion, i)) << "adhesion, cell " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ProfileFill, ::testing::ValuesIn(profile_cases), RowName{});

// A speed whose fifth lies outside a byte fails the read when it is written:
// at the next speed line or at the completion.
TEST(SpeedProfile, SpeedOutOfRangeFailsWhenWritten)
{
    const std::vector<std::string> cases[] = {
        {"velocita, 0, 1278"},
        {"velocita, 0, -3"},
        {"velocita, 1000, 1300", "velocita, 2000, 60"},
    };
    for (const auto& lines : cases) {
        SCOPED_TRACE(lines.front());
        TrainRun run;
        run.read_lines(lines);
        EXPECT_EQ(run.state.error_code, 25);
        EXPECT_FALSE(run.train_file_left());
    }
}

TEST(SpeedProfile, RangeErrorAtTheGridEndStillCompletesBothProfiles)
{
    TrainRun run;
    run.mark_profiles(99);
    run.read_lines({"velocita, 0, 30", "aderenza, 0, 80", "velocita, 16950, 40", "numero vetture, 3"});
    EXPECT_EQ(run.state.error_code, 15);
    EXPECT_EQ(run.state.error_at_m, 16950);
    EXPECT_EQ(run.cell(337).speed5, 6);
    EXPECT_EQ(run.cell(337).adhesion, 80);
    EXPECT_EQ(run.cell(338).speed5, 99);
    EXPECT_EQ(run.record(84).at_m, 0);
    EXPECT_FALSE(run.train_file_left());
}

} // namespace
} // namespace tratta::testing
