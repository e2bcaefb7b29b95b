#pragma once
// The warnings of the check: what the reader accepts without a word but an
// author almost surely did not mean, found in the fields as the compile read
// them and in the tables it made.

#include "autore/diagnostics/diagnostic.hpp"
#include "compile/compile.hpp"

#include <string_view>
#include <vector>

namespace autore {

// The two source texts as the compile was handed them.
struct CheckedSources {
    std::string_view line;
    std::string_view train;
};

// The route length as the line file gave it, when the fields were traced.
const tratta::TracedField* route_length_field(const tratta::CompileResult& compiled);

// Numbers written so that they read as something else: letters after the
// digits, no leading digit, decimals, a point used as a thousands separator,
// an empty field; and values that do not fit the railway (a clock of 25:75,
// a speed of 1100 km/h, -16 coaches) or are stored otherwise than written.
void number_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out);

// Keys that match no line kind (with the nearest known key suggested), spare
// fields after a line's values, keys read as two line kinds at once.
void key_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out);

// Lines of one kind out of order along the route, curves and mountains that
// overlap, a station beyond the end of the route.
void order_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out);

// Speed indicator boards that show none of the speeds the train's limit
// takes from them on; sign boards whose cell a station's stop took.
void board_rules(const tratta::CompileResult& compiled, std::vector<Diagnostic>& out);

// The timetable of the train file: legs too short to keep, times that do not
// increase, stations out of order with the line.
void timetable_rules(const tratta::CompileResult& compiled, std::string_view train_source, std::vector<Diagnostic>& out);

// What follows from an earlier fault, grouped under it: a warning that is the
// cause of errors comes before them; a station beyond the end of the route
// that is an error already is not told again.
void group_consequences(std::vector<Diagnostic>& all);

// A file that does not end with "[fine]", text saved as UTF-8.
void file_rules(const CheckedSources& sources, std::vector<Diagnostic>& out);

} // namespace autore
