#pragma once
// The timetable sheet of an author's scenario, drawn as the embedded sheet is:
// as many sheets of 31 body rows as the route needs, "SCHEDA k/n", the train
// and category boxes, origin, destination and braked mass, and one row for
// every station with its time and recovery margin, every change of the speed
// in force, every change of kilometre count ("/" and the new count on the row
// below), every sign board and the start and end of every slowdown. A value
// the sources do not give (the rank, the blocked mass, the running speed)
// stays blank.

#include "autore/route/document_data.hpp"
#include "autore/driver_documents/timetable.hpp"

#include <string>
#include <vector>

namespace autore {

// The lines of the file, Windows-1252, without their line ends.
std::vector<std::string> timetable_sheet_lines(const DocumentData& data, const TimetablePlan& plan);

} // namespace autore
