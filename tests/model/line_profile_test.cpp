#include "model/line_profile.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace tratta {
namespace {

// A straight route as the reader leaves it: P(0), P(1) whole numbers, then
// reals up to G - 2, the last two metres empty.
LineProfile straight_route(int64_t length_m)
{
    LineProfile t;
    const int64_t g = length_m + 7000;
    t.create(g);
    t.set_start(0, 0, 0, 1);
    for (int64_t m = 2; m <= g - 2; ++m)
        t.append(0.0, static_cast<double>(m));
    return t;
}

std::vector<uint8_t> slice(const Bytes& b, std::size_t from, std::size_t n)
{
    return {b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n)};
}

TEST(LineProfile, StraightRouteOfLengthZeroMatchesItsKnownBytes)
{
    LineProfile t = straight_route(0);
    ASSERT_EQ(t.file_size(), 139964u);
    const Bytes b = t.take_file();
    ASSERT_EQ(b.size(), 139964u);
    EXPECT_FALSE(t.exists());
    EXPECT_EQ(slice(b, 0, 10), (std::vector<uint8_t>{2, 0, 0, 0, 2, 0, 0, 0, 5, 0}));
    EXPECT_EQ(slice(b, 69982, 8), (std::vector<uint8_t>{2, 0, 0, 0, 2, 0, 1, 0}));
    // Each coordinate's run ends with the two empty elements.
    EXPECT_EQ(slice(b, 69982 - 4, 4), std::vector<uint8_t>(4, 0));
    EXPECT_EQ(slice(b, b.size() - 4, 4), std::vector<uint8_t>(4, 0));
    // y at metre 2 is the real 2.0, little-endian.
    EXPECT_EQ(slice(b, 69982 + 8, 10), (std::vector<uint8_t>{5, 0, 0, 0, 0, 0, 0, 0, 0, 0x40}));
}

TEST(LineProfile, EmbeddedRouteLengthGivesItsKnownSize)
{
    EXPECT_EQ(straight_route(334000).file_size(), 6819964u);
}

// A plan that stopped early (its line file ended in an error) leaves the
// metres after it empty; one never started leaves the whole table empty.
TEST(LineProfile, APlanCutShortLeavesEmptyElementsAfterIt)
{
    const auto element = [](ProfileTag tag, std::vector<uint8_t> value) {
        std::vector<uint8_t> e{static_cast<uint8_t>(tag), 0};
        e.insert(e.end(), value.begin(), value.end());
        return e;
    };
    const std::vector<uint8_t> empty = element(ProfileTag::empty, {});
    const std::vector<uint8_t> two = element(ProfileTag::real, {0, 0, 0, 0, 0, 0, 0, 0x40});
    const std::vector<uint8_t> half = element(ProfileTag::real, {0, 0, 0, 0, 0, 0, 0xE0, 0x3F});

    struct Row {
        const char* what;
        bool started;
        int points;
    };
    for (const Row& row : {Row{"one point after the start", true, 1}, Row{"start only", true, 0},
                           Row{"never started", false, 0}}) {
        SCOPED_TRACE(row.what);
        LineProfile t;
        t.create(9);
        if (row.started)
            t.set_start(0, 0, 0, 1);
        for (int i = 0; i < row.points; ++i)
            t.append(0.5, 2.0);

        std::vector<uint8_t> expected;
        for (int r = 0; r < 2; ++r) {
            int m = 0;
            if (row.started) {
                const auto p0 = element(ProfileTag::int16, {0, 0});
                const auto p1 = element(ProfileTag::int16, {static_cast<uint8_t>(r), 0});
                expected.insert(expected.end(), p0.begin(), p0.end());
                expected.insert(expected.end(), p1.begin(), p1.end());
                m = 2;
            }
            for (int i = 0; i < row.points; ++i, ++m) {
                const auto& p = r == 0 ? half : two;
                expected.insert(expected.end(), p.begin(), p.end());
            }
            for (; m <= 9; ++m)
                expected.insert(expected.end(), empty.begin(), empty.end());
        }
        EXPECT_EQ(t.file_size(), expected.size());
        const Bytes b = t.take_file();
        EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.end()), expected);
    }
}

TEST(LineProfile, AccessOutsideTheTableIsRefused)
{
    LineProfile t;
    t.create(10);
    EXPECT_THROW(t.append(1.0, 1.0), std::out_of_range); // no start yet
    t.set_start(0, 0, 0, 1);
    for (int64_t m = 2; m <= 8; ++m)
        t.append(0.0, 1.0);
    EXPECT_THROW(t.append(0.0, 1.0), std::out_of_range); // metres G - 1 and G stay empty
    EXPECT_THROW(t.get(11, 0), std::out_of_range);
    EXPECT_THROW(t.get(-1, 0), std::out_of_range);
    EXPECT_THROW(t.get(0, 2), std::out_of_range);
    EXPECT_EQ(t.tag(10, 1), ProfileTag::empty);
    EXPECT_EQ(t.tag(8, 1), ProfileTag::real);
    t.destroy();
    EXPECT_FALSE(t.exists());
}

} // namespace
} // namespace tratta
