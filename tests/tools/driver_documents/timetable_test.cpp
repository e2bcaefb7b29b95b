// Whether a timetable can be kept, and the times worked out at every station,
// on small plain tables: a straight line at one limit and a few stations.

#include "autore/driver_documents/running_time.hpp"
#include "autore/driver_documents/timetable.hpp"
#include "tools/documents/plain_station.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace autore {
namespace {

constexpr int32_t h8 = 8 * 3600;

using testing::plain_station;

// A 10 km line at 100 km/h, braked at 100 % (0.5 m/s²).
DocumentData line_with(std::vector<TimedStation> stations, std::vector<Slowdown> slowdowns = {})
{
    DocumentData d;
    d.braked_mass_pct = 100;
    d.route_length_m = 10000;
    d.limit_kmh.assign(341, 100);
    for (std::size_t i = 0; i < stations.size(); ++i) {
        stations[i].record = static_cast<int>(i + 1);
        stations[i].source_line = static_cast<int32_t>(20 + i);
    }
    d.stations = std::move(stations);
    d.slowdowns = std::move(slowdowns);
    return d;
}

double shortest(const std::vector<LimitStretch>& limits, std::vector<RunPoint> points)
{
    return passing_times(limits, points, {default_accel_ms2, 0.5}).back();
}

const double flat_leg = shortest({{0, 5000, 100}}, {{0, true}, {5000, true}});
const double half_leg = shortest({{0, 2500, 100}}, {{0, true}, {2500, true}});
const double to_halfway = passing_times({{0, 5000, 100}}, {{0, true}, {2500, false}, {5000, true}}, {0.3, 0.5})[1];

std::vector<std::string> codes(const TimetablePlan& p)
{
    std::vector<std::string> out;
    for (const Finding& f : p.findings)
        out.push_back(f.code);
    return out;
}

TEST(Timetable, LegsBetweenStationsWithATime)
{
    struct Row {
        std::string name;
        DocumentData data;
        std::vector<int32_t> scheduled;
        std::vector<double> shortest;
        std::vector<std::string> codes;
    };
    const Row rows[] = {
        {"a leg at one limit",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 600)}),
         {600},
         {flat_leg},
         {}},
        {"a leg with a slowdown of 50 km/h",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 600)}, {{2000, 2500, 50}}),
         {600},
         {shortest({{0, 2000, 100}, {2000, 2500, 50}, {2500, 5000, 100}}, {{0, true}, {5000, true}})},
         {}},
        {"a leg that cannot be kept",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 240)}),
         {240},
         {flat_leg},
         {"orario-non-rispettabile"}},
        {"past midnight",
         line_with({plain_station("A", 0, 23 * 3600 + 58 * 60), plain_station("B", 5000, 3 * 60)}),
         {300},
         {flat_leg},
         {}},
        {"a time before the one before it",
         line_with({plain_station("A", 0, h8 + 600), plain_station("B", 5000, h8)}),
         {0},
         {-1},
         {"orario-non-crescente"}},
        {"a long leg within the day",
         line_with({plain_station("A", 0, 10 * 3600), plain_station("B", 5000, 23 * 3600)}),
         {13 * 3600},
         {flat_leg},
         {}},
        {"the same time twice",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8)}),
         {0},
         {-1},
         {"orario-non-crescente"}},
        {"a stop on the way: its dwell counts",
         line_with({plain_station("A", 0, h8), plain_station("S", 2500, std::nullopt, 12, true),
                    plain_station("B", 5000, h8 + 600)}),
         {600},
         {2 * half_leg + default_dwell_s},
         {}},
        {"a junction with a time is passed, not stopped at",
         line_with(
             {plain_station("A", 0, h8), plain_station("J", 2500, h8 + 300, 27), plain_station("B", 5000, h8 + 600)}),
         {300, 300},
         {to_halfway, flat_leg - to_halfway},
         {}},
        {"an intermediate stop with a time: its time is the departure",
         line_with({plain_station("A", 0, h8), plain_station("S", 2500, h8 + 300), plain_station("B", 5000, h8 + 600)}),
         {300, 300},
         {half_leg + default_dwell_s, half_leg},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TimetablePlan p = plan_timetable(row.data, {});
        EXPECT_EQ(codes(p), row.codes);
        ASSERT_EQ(p.legs.size(), row.scheduled.size());
        for (std::size_t i = 0; i < p.legs.size(); ++i) {
            EXPECT_EQ(p.legs[i].scheduled_s, row.scheduled[i]);
            if (row.shortest[i] < 0) {
                EXPECT_FALSE(p.legs[i].shortest_s);
            } else {
                ASSERT_TRUE(p.legs[i].shortest_s);
                EXPECT_NEAR(*p.legs[i].shortest_s, row.shortest[i], 1e-6);
            }
        }
    }
}

TEST(Timetable, ALegThatCannotBeKeptNamesBothStationsAndTheSecondsMissing)
{
    const TimetablePlan p =
        plan_timetable(line_with({plain_station("Alfa", 0, h8), plain_station("Beta", 5000, h8 + 240)}), {});
    ASSERT_EQ(p.findings.size(), 1u);
    const Finding& f = p.findings[0];
    EXPECT_EQ(f.severity, Severity::warning);
    const auto missing = static_cast<int64_t>(std::ceil(flat_leg - 240));
    EXPECT_EQ(f.message, "tra Alfa e Beta l'orario dà 0.04.00, ma il treno impiega almeno 0.04.14: mancano " +
                             std::to_string(missing) + " secondi");
    ASSERT_EQ(f.stations.size(), 2u);
    EXPECT_EQ(f.stations[0].name, "Alfa");
    EXPECT_EQ(f.stations[0].source_line, 20);
    EXPECT_EQ(f.stations[1].name, "Beta");
}

TEST(Timetable, SlackSpreadInProportionToRunningTime)
{
    // A passing station halfway: the ten minutes are shared as the running times are.
    const TimetablePlan pass = plan_timetable(
        line_with({plain_station("A", 0, h8), plain_station("P", 2500), plain_station("B", 5000, h8 + 600)}), {});
    const double slack = 600 - flat_leg;
    ASSERT_TRUE(pass.stations[1].time_s && pass.stations[1].margin_s && pass.stations[2].margin_s);
    EXPECT_NEAR(*pass.stations[1].margin_s, slack * to_halfway / flat_leg, 1e-6);
    EXPECT_NEAR(*pass.stations[2].margin_s, slack * (flat_leg - to_halfway) / flat_leg, 1e-6);
    EXPECT_NEAR(*pass.stations[1].time_s, h8 + to_halfway * 600 / flat_leg, 1e-6);
    EXPECT_EQ(*pass.stations[2].time_s, h8 + 600);
    EXPECT_FALSE(pass.stations[0].margin_s);

    // A stop halfway keeps its whole dwell; its time is the departure.
    const TimetablePlan stop =
        plan_timetable(line_with({plain_station("A", 0, h8), plain_station("S", 2500, std::nullopt, 4, true),
                                  plain_station("B", 5000, h8 + 600)}),
                       {});
    const double stop_slack = 600 - 2 * half_leg - default_dwell_s;
    ASSERT_TRUE(stop.stations[1].time_s);
    EXPECT_NEAR(*stop.stations[1].time_s, h8 + half_leg + stop_slack / 2 + default_dwell_s, 1e-6);

    // Past midnight the times count on.
    const TimetablePlan night = plan_timetable(line_with({plain_station("A", 0, 23 * 3600 + 58 * 60),
                                                          plain_station("P", 2500), plain_station("B", 5000, 3 * 60)}),
                                               {});
    EXPECT_EQ(*night.stations[2].time_s, 86400 + 3 * 60);
    EXPECT_GT(*night.stations[1].time_s, 23 * 3600 + 58 * 60);

    // A timetable too tight is squeezed evenly: the times still follow each other.
    const TimetablePlan tight = plan_timetable(
        line_with({plain_station("A", 0, h8), plain_station("P", 2500), plain_station("B", 5000, h8 + 200)}), {});
    ASSERT_TRUE(tight.stations[1].time_s);
    EXPECT_NEAR(*tight.stations[1].time_s, h8 + 200 * to_halfway / flat_leg, 1e-6);
    EXPECT_LT(*tight.stations[1].margin_s, 0);
}

TEST(Timetable, WhereTheTrainStops)
{
    struct Row {
        std::string name;
        uint8_t kind;
        bool stop_flag;
        std::optional<int32_t> time;
        bool stops;
    };
    const Row rows[] = {
        {"marked as a stop", 12, true, std::nullopt, true},
        {"given a time", 4, false, h8 + 300, true},
        {"neither", 12, false, std::nullopt, false},
        {"a junction marked as a stop", 27, true, std::nullopt, false},
        {"a junction with a time", 28, false, h8 + 300, false},
        {"kind 24, the last with a stop cell", 24, true, std::nullopt, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TimetablePlan p = plan_timetable(
            line_with({plain_station("A", 0, h8, 27), plain_station("X", 2500, row.time, row.kind, row.stop_flag),
                       plain_station("B", 5000, h8 + 900, 28)}),
            {});
        EXPECT_EQ(p.stations[1].stops, row.stops);
        // The first and the last station are always stops, whatever their kind.
        EXPECT_TRUE(p.stations[0].stops);
        EXPECT_TRUE(p.stations[2].stops);
    }
}

TEST(Timetable, FindingsAboutTheSources)
{
    struct Row {
        std::string name;
        DocumentData data;
        std::vector<std::string> codes;
        bool legs_worked_out;
    };
    DocumentData zero_limit = line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 900)});
    zero_limit.limit_kmh[40] = 0;
    DocumentData no_braking = line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 900)});
    no_braking.braked_mass_pct = 0;
    const Row rows[] = {
        {"a station behind the one before it",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000), plain_station("C", 3000),
                    plain_station("D", 8000, h8 + 900)}),
         {"stazione-fuori-ordine"},
         true},
        {"a limit of 0 km/h", zero_limit, {"limite-nullo"}, false},
        {"no braked-mass percentage", no_braking, {"frenatura-mancante"}, false},
        {"only one station with a time",
         line_with({plain_station("A", 0, h8), plain_station("B", 5000)}),
         {"orario-insufficiente"},
         false},
        {"a time that is no time of day",
         line_with(
             {plain_station("A", 0, h8), plain_station("B", 2500, 25 * 3600), plain_station("C", 5000, h8 + 900)}),
         {"orario-non-valido"},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TimetablePlan p = plan_timetable(row.data, {});
        EXPECT_EQ(codes(p), row.codes);
        for (const Leg& l : p.legs)
            EXPECT_EQ(l.shortest_s.has_value(), row.legs_worked_out);
    }

    const TimetablePlan order = plan_timetable(rows[0].data, {});
    const Finding& f = order.findings[0];
    EXPECT_EQ(f.severity, Severity::error);
    EXPECT_EQ(f.stations[0].name, "C");
    EXPECT_EQ(f.stations[0].source_line, 22);
    EXPECT_FALSE(order.stations[2].in_run);
    EXPECT_FALSE(order.stations[2].time_s);
    EXPECT_TRUE(order.stations[1].time_s) << "the stations in order still get their times";

    const TimetablePlan limit = plan_timetable(zero_limit, {});
    EXPECT_NE(limit.findings[0].message.find("da 2000 a 2050 m"), std::string::npos) << limit.findings[0].message;
}

TEST(Timetable, RatesFromTheBrakedMassOrAsGiven)
{
    EXPECT_DOUBLE_EQ(braking_deceleration(100), 0.5);
    EXPECT_DOUBLE_EQ(braking_deceleration(125), 0.625);
    EXPECT_DOUBLE_EQ(braking_deceleration(0), 0);
    const DocumentData d = line_with({plain_station("A", 0, h8), plain_station("B", 5000, h8 + 600)});
    const TimetablePlan given = plan_timetable(d, {0.5, 1.0, 30});
    EXPECT_DOUBLE_EQ(given.accel_ms2, 0.5);
    EXPECT_DOUBLE_EQ(given.decel_ms2, 1.0);
    EXPECT_NEAR(*given.legs[0].shortest_s, passing_times({{0, 5000, 100}}, {{0, true}, {5000, true}}, {0.5, 1.0})[1],
                1e-9);
    EXPECT_LT(*given.legs[0].shortest_s, flat_leg);
}

} // namespace
} // namespace autore
