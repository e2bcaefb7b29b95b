#include "model/line_profile.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace tratta {
namespace {

// A straight route as the reader leaves it: P(0), P(1) whole numbers, then
// reals up to G - 2, the last two metres empty.
LineProfile straight_route(int64_t length_m)
{
    LineProfile t;
    const int64_t g = length_m + 7000;
    t.create(g);
    t.set_int16(0, 0, 0);
    t.set_int16(0, 1, 0);
    t.set_int16(1, 0, 0);
    t.set_int16(1, 1, 1);
    for (int64_t m = 2; m <= g - 2; ++m) {
        t.set_real(m, 0, 0.0);
        t.set_real(m, 1, static_cast<double>(m));
    }
    return t;
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& b, std::size_t from, std::size_t n)
{
    return {b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n)};
}

TEST(LineProfile, StraightRouteOfLengthZeroMatchesItsKnownBytes)
{
    const LineProfile t = straight_route(0);
    ByteBuffer out;
    encode_line_profile(t, out);
    const auto& b = out.bytes();
    ASSERT_EQ(b.size(), 139964u);
    ASSERT_EQ(encoded_line_profile_size(t), 139964u);
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
    const LineProfile t = straight_route(334000);
    EXPECT_EQ(encoded_line_profile_size(t), 6819964u);
}

TEST(LineProfile, AccessOutsideTheTableIsRefused)
{
    LineProfile t;
    t.create(10);
    EXPECT_THROW(t.set_real(11, 0, 1.0), std::out_of_range);
    EXPECT_THROW(t.set_real(-1, 0, 1.0), std::out_of_range);
    EXPECT_THROW(t.set_real(0, 2, 1.0), std::out_of_range);
    EXPECT_EQ(t.tag(10, 1), ProfileTag::empty);
    t.destroy();
    EXPECT_FALSE(t.exists());
}

} // namespace
} // namespace tratta
