// The stations every picture and document of a compiled scenario lists: the
// train file's stations and nothing else, whatever the compile left in the
// records of a board or of a station line it refused.
#include "autore/route/route_data.hpp"

#include "app/compile_purpose.hpp"
#include "model/code_page.hpp"
#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autore {
namespace {

std::vector<std::string> station_names(const std::vector<std::string>& line_extra, const std::vector<std::string>& train_extra)
{
    auto line = testing::small_line_lines();
    line.insert(line.end() - 1, line_extra.begin(), line_extra.end());
    auto train = testing::small_train_lines();
    train.insert(train.end() - 1, train_extra.begin(), train_extra.end());
    const std::string line_text = tratta::testing::crlf_lines(line);
    const std::string train_text = tratta::testing::crlf_lines(train);
    const tratta::CompileResult r = tratta::compile(tratta::compile_input(
        tratta::CompilePurpose::tables, tratta::SourceText::of(line_text), tratta::SourceText::of(train_text), "Valle", "R 101"));
    const RouteData d = gather_route(r.model.records, r.model.cells.cells(), nullptr, 100);
    std::vector<std::string> names;
    for (const RouteMark& s : d.stations)
        names.push_back(s.label + "@" + std::to_string(s.at_m));
    EXPECT_EQ(names.size(), station_records(r.model.records, r.model.cells.cells()).size());
    return names;
}

TEST(StationRecords, OnlyTheTrainFilesStations)
{
    const struct {
        const char* what;
        std::vector<std::string> line_extra;
        std::vector<std::string> train_extra;
        std::vector<std::string> stations;
    } rows[] = {
        {"a plain scenario", {}, {}, {"Alfa@1000"}},
        {"a board beside the station", {"cartello_indicatore,  3000,   (Km 3)"}, {}, {"Alfa@1000"}},
        // Alfa's stop cell (1150 m) is the board's: the board's record is left
        // with its text and no cell, and is no station.
        {"a board on the station's stop cell", {"cartello_indicatore,  1100,   (Km 1+100)"}, {}, {"Alfa@1000"}},
        // The reading stops at a position off the 50 m grid: the record holds
        // the position alone, no zone and no name.
        {"a station line refused at its position", {},
         {"[stazioni]", "stazione,    5025, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta"}, {"Alfa@1000"}},
        {"two stations", {}, {"[stazioni]", "stazione,    5000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta"},
         {"Alfa@1000", "Beta@5000"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(station_names(row.line_extra, row.train_extra), row.stations);
    }
}

} // namespace
} // namespace autore
