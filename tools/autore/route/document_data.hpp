#pragma once
// What the driver's documents and the timetable check need of a compiled
// scenario, gathered from its tables: the train and its consist, the stations
// in the order the train calls at them, the sign boards, the slowdowns, the
// kilometre chainages and the speed limit of every 50 m cell.

#include "autore/driver_documents/running_time.hpp"
#include "autore/route/official_km.hpp"
#include "autore/route/route_data.hpp"
#include "model/route_cells.hpp"
#include "model/scenario_records.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

struct TimedStation {
    int record = 0;   // its scenario record
    std::string name; // Windows-1252, as the train file gives it
    int64_t at_m = 0;
    int64_t zone_start_m = 0;
    int64_t zone_end_m = 0;
    uint8_t kind = 0;
    bool stop_flag = false;        // the train file's second flag
    std::optional<int32_t> time_s; // the time of day the train file gives, if any
    int32_t source_line = 0;       // its line in the train file; 0 when not known
};

struct PlaceBoard {
    int64_t at_m = 0;
    std::string label; // Windows-1252, as the timetable sheet writes it
};

struct DocumentData {
    std::string scenario;        // Windows-1252
    std::string train;           // Windows-1252
    std::string category;        // the letters before the train's number: "TR"
    std::string number;          // the train's number: "000"
    int32_t braked_mass_pct = 0; // 0: not given
    int32_t coaches = 0;         // 0: not given
    int64_t route_length_m = 0;
    std::vector<Chainage> chainages;
    std::vector<TimedStation> stations; // in the order of the train file
    std::vector<PlaceBoard> boards;     // along the route
    std::vector<Slowdown> slowdowns;    // along the route
    std::vector<int> limit_kmh;         // the train file's limit of each 50 m cell
};

// station_count: the stations stand in records 1 to station_count.
DocumentData gather_documents(const tratta::ScenarioRecords& records, const std::vector<tratta::RouteCell>& cells,
                              int station_count, std::string_view train_bytes);

struct TrainNumber {
    std::string category;
    std::string number;
};

// The category is the run of letters the name begins with, the number the
// first run of digits: "TR 000 Esempio" gives "TR" and "000"; either may be empty.
TrainNumber train_number(std::string_view train_name);

// A sign board's text as a line of the sheet: its bracketed groups trimmed and
// joined by a blank, two abbreviations ("Dev." "U.") written together, the
// kilometre "28+000" as "28.000": "(  Cippo  )(Km 28+000)" gives "Cippo Km 28.000".
std::string board_label(std::string_view text);

// The lines of the train file that hold a station, in file order: every line
// after the general header whose first field names a station. Empty when their
// number is not station_count, since then they cannot be told apart.
std::vector<int32_t> station_lines(std::string_view train_bytes, int station_count);

// The speed in force over [from_m, to_m): each cell's limit, lowered by the
// slowdowns over it; equal neighbours joined.
std::vector<LimitStretch> limits_along(const DocumentData& data, int64_t from_m, int64_t to_m);

} // namespace autore
