// The station step: one scenario record per station, its zone from position,
// length and kind, and in the grid a stop cell at the zone's end with up to
// four approach cells before it.

#include "model/nearest.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

#include <string>
#include <utility>


namespace tratta {

namespace {

// Stations of kind 25 and above have a zone but no cell in the grid; kinds 5
// and 6 have a stop cell but no approach cells.
constexpr uint8_t first_kind_without_cells = 25;

// The next zone may begin no sooner than this after the previous zone's end.
constexpr int64_t station_spacing_m = 350;

// A value computed from the line that must fit its 32-bit field.
int32_t must_fit(int64_t v, const std::string& what, const SourcePlace& place)
{
    if (!std::in_range<int32_t>(v))
        throw ReadFailure(what + " " + std::to_string(v) + " non sta in un numero a 32 bit", place);
    return static_cast<int32_t>(v);
}

// Fields 4 to 17 of the line: flags, the two groups of values, the time of day
// and the name.
void read_stop_data(FieldReader& in, ScenarioRecord& rec, const SourcePlace& line)
{
    rec.flag_a = in.read_u8();
    rec.flag_e = in.read_u8();
    rec.flag_d = in.read_u8();
    rec.int_a = in.read_i16();
    rec.int_b = in.read_i16();
    rec.flag_b = in.read_u8();
    rec.int_c = in.read_i16();
    rec.int_d = in.read_i16();
    rec.int_e = in.read_i16();
    rec.flag_c = in.read_u8();
    const int64_t hours = in.read_i32();
    const int64_t minutes = in.read_i32();
    const int64_t seconds = in.read_i32();
    rec.text = in.read_text();
    rec.time_s = must_fit((hours * 60 + minutes) * 60 + seconds, "l'ora della stazione in secondi", line);
}

// The zone of the station, by kind; a third flag moves the end of a general
// zone 50 m further.
void set_zone(ScenarioRecord& rec, int64_t length_m, const SourcePlace& line)
{
    const int64_t at = rec.at_m;
    int64_t start = 0;
    int64_t end = 0;
    bool clear_third_flag = false;
    switch (rec.kind) {
    case 5:
    case 6:
        start = at - length_m;
        end = at + 150;
        clear_third_flag = true;
        break;
    case 7:
    case 8:
        start = at - length_m;
        end = at + length_m;
        clear_third_flag = true;
        break;
    default:
        // The length is a multiple of 100, so half of it is whole.
        start = at - length_m / 2;
        end = at + length_m / 2 + (rec.flag_d != 0 ? 50 : 0);
        break;
    }
    rec.start_m = must_fit(start, "l'inizio della zona di stazione", line);
    rec.end_m = must_fit(end, "la fine della zona di stazione", line);
    if (clear_third_flag)
        rec.flag_d = 0;
}

} // namespace

LineEnd read_station_line(TrainRead& r)
{
    RunState& s = r.state;
    const int32_t n = r.station;
    // A record that already holds a sign-board text (or lies past them) takes
    // no station: the table is full.
    if (n < 1 || n > r.board_slot || n > ScenarioRecords::first_board_slot) {
        segnala(s, ErrorNumber::too_many_stations);
        return LineEnd::error_exit;
    }
    ScenarioRecord& rec = s.records[n];
    s.record_origins[static_cast<std::size_t>(n)] = s.key_place;

    r.in.expect(train_keys::station);
    rec.at_m = r.in.read_i32();
    const int32_t at = rec.at_m;
    const SourcePlace at_place = r.in.field_place();
    if (!position_accepted(s, at, at_place, station_margin))
        return LineEnd::completion;
    if (at % 50 != 0) {
        segnala(s, ErrorNumber::station_off_grid, at, at_place);
        return LineEnd::error_exit;
    }
    rec.kind = r.in.read_u8();
    const int32_t length_m = r.in.read_i32();
    if (length_m % 100 != 0) {
        segnala(s, ErrorNumber::station_length, at, r.in.field_place());
        return LineEnd::error_exit;
    }
    read_stop_data(r.in, rec, s.key_place);
    set_zone(rec, length_m, s.key_place);
    if (length_m < 600)
        rec.flag_e = 0;
    // The first station keeps its zone, third flag included, but not the flags.
    if (n == 1) {
        rec.flag_d = 0;
        rec.flag_e = 0;
    }

    if (rec.kind < first_kind_without_cells) {
        const double end_cells = static_cast<double>(rec.end_m) / 50.0;
        const double stop_x = end_cells - 1.0;
        // A zone that ends beyond the grid has no stop cell to take.
        if (nearest(stop_x) > s.cells.last()) {
            segnala(s, ErrorNumber::stop_cell_beyond_grid, at);
            return LineEnd::error_exit;
        }
        if (rec.kind != 5 && rec.kind != 6) {
            for (int k = 1; k <= 4; ++k) {
                const double x = end_cells - k - 1.0;
                if (x > 1.0)
                    s.cells.at(nearest(x)).approach = static_cast<uint8_t>(80 + k);
            }
        }
        if (stop_x <= 1.0) {
            segnala(s, ErrorNumber::stop_cell_at_start);
            return LineEnd::error_exit;
        }
        RouteCell& stop = s.cells.at(nearest(stop_x));
        stop.kind = kind_station_stop;
        stop.value = static_cast<int16_t>(n);
        note_cell_origin(s, nearest(stop_x));
    }

    if (n > 1 && int64_t{rec.start_m} - station_spacing_m < s.records[n - 1].end_m) {
        segnala(s, ErrorNumber::stations_too_close, rec.at_m);
        return LineEnd::error_exit;
    }
    ++r.station;
    if (r.station >= r.board_slot) {
        segnala(s, ErrorNumber::too_many_stations);
        return LineEnd::error_exit;
    }
    return LineEnd::next_key;
}

} // namespace tratta
