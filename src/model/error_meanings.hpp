#pragma once
// The one table that says, in the program's language, what each error number
// means. Nothing else spells error messages.

#include <cstdint>
#include <string_view>

namespace tratta {

// The program's error numbers by what they mean on the railway. The number is
// what the error box and every tool shows; the name is how code speaks of it.
enum class ErrorNumber : int32_t {
    route_length = 1,              // route length outside 0 .. 1000000 m
    chainage_off_grid = 2,         // a chainage start or offset not on the 50 m grid
    repetition_start = 3,          // signal repetition start not on the grid
    repetition_end = 4,            // signal repetition end not on the grid
    repetition_codes = 5,          // signal repetition key without 4 or 9 codes
    board_on_taken_cell = 6,       // a sign board on a taken cell
    cut_point_on_taken_cell = 7,   // a cut-off point on a taken cell
    station_off_grid = 8,          // a station position not on the grid
    station_length = 9,            // a station length not a multiple of 100 m
    too_many_stations = 10,        // no free record left for a station
    no_cell_before_warning = 11,   // finishing pass: no free cell before a slowdown warning
    no_cell_before_slowdown = 12,  // finishing pass: no free cell before a slowdown
    no_cell_in_slowdown = 13,      // finishing pass: no free cell inside a slowdown
    beyond_grid = 15,              // a position beyond the route grid or before it
    signal_on_taken_cell = 16,
    warning_on_taken_cell = 17,
    slowdown_start_on_taken_cell = 18,
    slowdown_end_on_taken_cell = 19,
    slowdown_boards_on_taken_cells = 20,
    indicator_on_taken_cell = 21,
    stations_too_close = 22,       // a station less than 350 m after the one before
    stop_cell_at_start = 24,       // a station's stop cell at index 1 or below
    read_failure = 25,             // a file ends inside a line, a number too large, an unreadable file
    slowdown_end_outside = 26,     // a slowdown's end cell outside the grid
    stop_cell_beyond_grid = 27,    // a station's stop cell beyond the grid
    too_many_boards = 28,          // no free record left for a sign board's text
    line_file_missing = 101,
    general_section_missing = 102,
    curve_refused = 103,           // a curve past 1000000 m or a curve key without a class
    stamp_taken = 1250,            // the stamp's field already taken
    check_code_taken = 1251,       // the check code's field already taken
};

constexpr int32_t number_of(ErrorNumber e) { return static_cast<int32_t>(e); }
constexpr bool is(int32_t code, ErrorNumber e) { return code == number_of(e); }

// One line in Italian (UTF-8); an unknown number gives "errore sconosciuto".
std::string_view error_meaning(int32_t code);

} // namespace tratta
