// The official kilometre count from the chainages of the line file.
#include "autore/route/official_km.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

using tratta::ScenarioRecords;

// The embedded line's three chainages, as the compile stores them.
ScenarioRecords embedded_chainages()
{
    ScenarioRecords r;
    r[ScenarioRecords::chainage_last].start_m = 315950;
    r[ScenarioRecords::chainage_last].end_m = 412150; // 412050 as written, plus 100 for the falling count
    r[ScenarioRecords::chainage_last].at_m = 1;
    r[ScenarioRecords::chainage_middle].start_m = 284500;
    r[ScenarioRecords::chainage_middle].end_m = -284500;
    r[ScenarioRecords::chainage_first].start_m = 31100;
    r[ScenarioRecords::chainage_first].end_m = 3050;
    return r;
}

TEST(OfficialKm, FollowsTheChainageInForce)
{
    const auto chainages = chainages_of(embedded_chainages());
    ASSERT_EQ(chainages.size(), 3u);
    EXPECT_EQ(chainages[2].offset_m, 412050);
    struct Row {
        int64_t route_m;
        int64_t km_m;
    };
    const Row rows[] = {
        {0, 0},            // before the first start the count is the route position
        {31099, 31099},
        {31100, 34150},    // + 3050
        {284499, 287549},
        {284500, 0},       // the count starts again from 0
        {315949, 31449},
        {315950, 96100},   // falling: 412050 - p
        {334000, 78050},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.route_m);
        EXPECT_EQ(official_km_m(chainages, row.route_m), row.km_m);
    }
}

TEST(OfficialKm, NoChainageMeansTheRoutePosition)
{
    EXPECT_TRUE(chainages_of(ScenarioRecords{}).empty());
    EXPECT_EQ(official_km_m({}, 12345), 12345);
}

TEST(OfficialKm, WrittenAsTheRailwayWritesIt)
{
    EXPECT_EQ(km_text(28000), "28.000");
    EXPECT_EQ(km_text(100600), "100.600");
    EXPECT_EQ(km_text(5), "0.005");
    EXPECT_EQ(km_text(-350), "-0.350");
}

} // namespace
} // namespace autore
