#pragma once
// The timetable check as an author reads it on the terminal: for each leg
// between two stations with a time, the time the timetable allows, the
// shortest running time and the margin; then every station of the run with
// its shortest running time, its recovery margin and the time worked out for
// it; and the findings, each naming the train file's line where it is known.

#include "autore/route/document_data.hpp"
#include "autore/driver_documents/timetable.hpp"

#include <string>
#include <vector>

namespace autore {

// The two tables, UTF-8.
std::string timetable_table(const DocumentData& data, const TimetablePlan& plan);

// One line per finding: "Valle_R 101-.txt:12: avviso orario-non-rispettabile: ...".
std::vector<std::string> finding_lines(const std::vector<Finding>& findings, const std::string& train_label);

} // namespace autore
