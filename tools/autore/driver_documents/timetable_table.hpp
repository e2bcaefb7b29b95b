#pragma once
// The timetable check as an author reads it on the terminal: for each leg
// between two stations with a time, the time the timetable allows, the
// shortest running time and the margin; then every station of the run with
// its shortest running time, its recovery margin and the time worked out for
// it. The findings are diagnostics, written as every other.

#include "autore/route/document_data.hpp"
#include "autore/driver_documents/timetable.hpp"

#include <string>

namespace autore {

// The two tables, UTF-8.
std::string timetable_table(const DocumentData& data, const TimetablePlan& plan);

} // namespace autore
