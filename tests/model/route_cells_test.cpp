#include "model/route_cells.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tratta {
namespace {

TEST(RouteCells, LastCellFromTheRouteLengthWithHalvesToEven)
{
    const struct {
        int32_t length;
        int32_t last;
    } rows[] = {{0, 140}, {25, 140}, {75, 142}, {334000, 6820}, {334025, 6820}, {334075, 6822}, {1000000, 20140}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        RouteCells grid;
        grid.create(row.length);
        EXPECT_EQ(grid.last(), row.last);
        EXPECT_EQ(grid.cells().size(), static_cast<std::size_t>(row.last) + 1);
        EXPECT_EQ(grid.line_end_m(), row.length + 7000);
    }
}

TEST(RouteCells, FileSizeIs15BytesPerCell)
{
    const struct {
        int32_t length;
        std::size_t bytes;
    } rows[] = {{0, 2115}, {334000, 102315}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        RouteCells grid;
        grid.create(row.length);
        ByteBuffer out;
        encode_route_cells(grid, out);
        EXPECT_EQ(out.size(), row.bytes);
    }
}

TEST(RouteCells, CellFieldsAreWrittenInOrderLittleEndian)
{
    RouteCells grid;
    grid.create(0);
    RouteCell& c = grid.at(22);
    c.kind = kind_signal;
    c.value = 42;
    c.value2 = -2;
    c.value3 = 0x1234;
    c.value4 = 8;
    c.aux = 199;
    c.approach = 81;
    c.side = 2;
    c.speed5 = 19;
    c.gradient = 89;
    c.adhesion = 96;
    ByteBuffer out;
    encode_route_cells(grid, out);
    const std::vector<uint8_t> expected = {1, 42, 0, 0xFE, 0xFF, 0x34, 0x12, 8, 0, 199, 81, 2, 19, 89, 96};
    const auto& bytes = out.bytes();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 330, bytes.begin() + 345), expected);
}

TEST(RouteCells, AccessOutsideTheGridIsRefused)
{
    RouteCells grid;
    EXPECT_FALSE(grid.contains(0));
    EXPECT_THROW(grid.at(0), std::out_of_range);
    grid.create(0);
    EXPECT_TRUE(grid.contains(140));
    EXPECT_FALSE(grid.contains(141));
    EXPECT_FALSE(grid.contains(-1));
    EXPECT_THROW(grid.at(141), std::out_of_range);
    EXPECT_THROW(grid.at(-1), std::out_of_range);
}

TEST(RouteCells, FreeCellsHoldNothingOrAMountainMarker)
{
    for (int kind = 0; kind <= 14; ++kind) {
        SCOPED_TRACE(kind);
        RouteCell c;
        c.kind = static_cast<uint8_t>(kind);
        EXPECT_EQ(c.free(), kind == 0 || kind == 11);
    }
}

} // namespace
} // namespace tratta
