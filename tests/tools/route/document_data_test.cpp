// What the documents take from the compiled tables: the train's number and
// category, the boards' labels, the stations' source lines and the speed in
// force along the route.

#include "autore/route/document_data.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

TEST(DocumentData, TrainNumberAndCategoryFromTheName)
{
    struct Row {
        const char* name;
        const char* category;
        const char* number;
    };
    const Row rows[] = {
        {"TR 000 Esempio", "TR", "000"}, {"R 101", "R", "101"},    {"IC590", "IC", "590"},
        {"Espresso", "Espresso", ""},    {"123 merci", "", "123"}, {"", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TrainNumber t = train_number(row.name);
        EXPECT_EQ(t.category, row.category);
        EXPECT_EQ(t.number, row.number);
    }
}

TEST(DocumentData, BoardsAsTheSheetNamesThem)
{
    struct Row {
        const char* text;
        const char* label;
    };
    const Row rows[] = {
        {"(  Cippo  )(Km 28+000)", "Cippo Km 28.000"},
        {"(Dev.)(U.  )", "Dev.U."},
        {"(Segn.)(Prot.)(Bivio Fornace)", "Segn.Prot. Bivio Fornace"},
        {"Casello   12", "Casello 12"},
        {"(a+b)", "a+b"},
        {"(   )", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(board_label(row.text), row.label);
    }
}

TEST(DocumentData, StationLinesOfTheTrainFile)
{
    const std::string train = "; prova\r\n[generale]\r\nnumero vetture, 5\r\n[stazioni]\r\n"
                              "stazione, 0, 8, 500, 1,0,0, 0,0,0, 0,0,0, 0, 8,0,0, Alfa\n"
                              "STAZIONE, 3000, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, Beta\r"
                              "[fine]\r\n";
    EXPECT_EQ(station_lines(train, 2), (std::vector<int32_t>{5, 6}));
    // A count that does not match the stations read names no line at all.
    EXPECT_TRUE(station_lines(train, 3).empty());
    EXPECT_TRUE(station_lines("stazione, 0\r\n", 1).empty()) << "lines before the general section are not read";
}

TEST(DocumentData, SpeedInForceLoweredBySlowdowns)
{
    DocumentData d;
    d.limit_kmh = {100, 100, 100, 80, 80, 80, 120, 120, 120, 120}; // one a 50 m cell
    d.slowdowns = {{125, 175, 60}, {300, 400, 90}};
    struct Row {
        int64_t from_m, to_m;
        int kmh;
    };
    const Row rows[] = {{0, 125, 100}, {125, 175, 60}, {175, 300, 80}, {300, 400, 90}, {400, 500, 120}};
    const auto got = limits_along(d, 0, 500);
    ASSERT_EQ(got.size(), std::size(rows));
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].from_m, rows[i].from_m);
        EXPECT_EQ(got[i].to_m, rows[i].to_m);
        EXPECT_EQ(got[i].kmh, rows[i].kmh);
    }
    // Beyond the grid there is no track.
    const auto past = limits_along(d, 450, 600);
    ASSERT_EQ(past.size(), 2u);
    EXPECT_EQ(past[1].kmh, 0);
}

} // namespace
} // namespace autore
