// How the timetable sheet cuts its rows into sheets, on plain tables.

#include "autore/driver_documents/timetable_sheet.hpp"
#include "tools/documents/document_layout.hpp"
#include "tools/documents/plain_station.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

// A board every 100 m from 100 m on, up to the one before `change_m`, where the count jumps.
DocumentData boards_up_to(int64_t change_m)
{
    DocumentData d;
    d.braked_mass_pct = 100;
    d.limit_kmh.assign(2001, 100);
    d.stations = {testing::plain_station("Alfa", 0, 8 * 3600), testing::plain_station("Omega", 90000, 9 * 3600)};
    for (int64_t m = 100; m < change_m; m += 100)
        d.boards.push_back({m, "Cartello " + std::to_string(m)});
    d.chainages = {{change_m, 5000, 0}};
    return d;
}

TEST(TimetableSheetRows, AChangeOfCountStaysWithItsNewCount)
{
    struct Row {
        int64_t change_m;
        std::size_t sheet_of_change; // from 0
        std::size_t row_of_change;   // body row, from 1
        std::size_t sheets;
    };
    // The origin takes row 1 and the boards the rows after it: a change at
    // 2900 m comes on row 30, one at 3000 m would be row 31, the last.
    // At 2900 m the pair fills the sheet, and the destination closes it.
    const Row rows[] = {{2900, 0, 30, 1}, {3000, 1, 1, 2}, {3200, 1, 2, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change_m);
        const DocumentData d = boards_up_to(row.change_m);
        const auto lines = timetable_sheet_lines(d, plan_timetable(d, {}));
        ASSERT_EQ(testing::expect_sheet_layout(lines), row.sheets);
        const std::size_t body = 2 + row.sheet_of_change * testing::sheet_pitch + 14;
        const std::string& change = lines[body + row.row_of_change - 1];
        EXPECT_EQ(testing::columns(change, 15, 24), "    " + km_text(row.change_m) + "/") << change;
        EXPECT_EQ(testing::trimmed(testing::columns(lines[body + row.row_of_change], 15, 23)),
                  km_text(row.change_m + 5000));
        if (row.change_m == 3000) {
            EXPECT_EQ(lines[body - testing::sheet_pitch + 30], testing::sheet_spacer) << "the last row of sheet 1";
            // The new sheet opens with the speed in force.
            EXPECT_EQ(testing::columns(change, 3, 7), " 100 ");
        }
    }
}

TEST(TimetableSheetRows, NoStationsStillGiveOneEmptySheet)
{
    DocumentData d;
    d.category = "R";
    const auto lines = timetable_sheet_lines(d, plan_timetable(d, {}));
    ASSERT_EQ(lines.size(), testing::sheet_pitch);
    EXPECT_EQ(lines[2 + 14], testing::sheet_spacer);
    EXPECT_EQ(lines[2 + 45], testing::sheet_head_rule);
}

TEST(TimetableSheetRows, LongNamesAndFiguresKeepTheBars)
{
    DocumentData d = boards_up_to(300);
    d.number = "1234567890";
    d.stations[0].name = "Una stazione dal nome lunghissimo oltre ogni colonna";
    d.boards[0].label = std::string(40, 'x');
    d.chainages = {{200, 900000000, 0}}; // a count too large for its column
    const auto lines = timetable_sheet_lines(d, plan_timetable(d, {}));
    testing::expect_sheet_layout(lines);
    EXPECT_EQ(testing::columns(lines[4], 16, 21), "123456");
    EXPECT_EQ(testing::columns(lines[16], 32, 59), "Una stazione dal nome lunghi");
    const std::string& count = lines[19];
    EXPECT_EQ(testing::columns(count, 15, 23), "#########") << count;
}

} // namespace
} // namespace autore
