// The rows of the slowdown order: where each slowdown lies, the kilometre
// post before it, and the prescription letter that follows from the sources.

#include "autore/driver_documents/slowdown_order.hpp"
#include "tools/documents/document_layout.hpp"
#include "tools/documents/plain_station.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

// Stations with zones 300 m either side.
TimedStation station(std::string name, int64_t at_m)
{
    return testing::plain_station(std::move(name), at_m, std::nullopt, 12, false, 300);
}

TEST(SlowdownOrderRows, RowsFromTheSlowdowns)
{
    DocumentData d;
    d.train = "R 101";
    d.category = "R";
    d.number = "101";
    d.braked_mass_pct = 100;
    d.limit_kmh.assign(801, 100);
    // The count rises by 500 m from 20000 m on, and falls from 30000 m on.
    d.chainages = {{20000, 500, 0}, {30000, 60000, 1}};
    d.stations = {station("Alfa Centrale", 5000), station("Beta", 15000), station("Gamma", 25000),
                  station("Delta Centrale", 38000)};
    d.slowdowns = {
        {3000, 3500, 30},   // before the first station: only the one after it
        {14800, 15100, 50}, // inside Beta's zone
        {21000, 21600, 80}, // and a second one 400 m later: its warning falls inside, the two are contiguous
        {22000, 23000, 60}, {33200, 33900, 100}, // on the falling count: the post passed before is the higher one
        {37600, 37800, 40},                      // reaches into Delta's zone
    };
    const auto plan = plan_timetable(d, {});
    const auto lines = slowdown_order_lines(d, plan);
    testing::expect_order_layout(lines, 6);
    EXPECT_EQ(lines[4], "  Linea  Alfa C.le-Delta C.le");
    const std::string rows[] = {
        " | 1 |Alfa Centrale               |     3000   |    30    |   500   |            |",
        " | 2 |Beta                        |    14000   |    50    |   300   |     B      |",
        " | 3 |Beta e Gamma                |    21000   |    80    |   600   |     D      |",
        " | 4 |Beta e Gamma                |    22000   |    60    |  1000   |     D      |",
        " | 5 |Gamma e Delta Centrale      |    27000   |   100    |   700   |            |",
        " | 6 |Gamma e Delta Centrale      |    23000   |    40    |   200   |     B      |",
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(lines[12 + i], rows[i]);
}

TEST(SlowdownOrderRows, StationNamesShortenedAsTheLineNameWritesThem)
{
    EXPECT_EQ(short_station_name("Portaurea Centrale"), "Portaurea C.le");
    EXPECT_EQ(short_station_name("Centrale Est"), "C.le Est");
    EXPECT_EQ(short_station_name("Centralese"), "Centralese");
    EXPECT_EQ(short_station_name("Valle"), "Valle");
}

} // namespace
} // namespace autore
