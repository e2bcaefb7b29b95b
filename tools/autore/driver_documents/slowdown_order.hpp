#pragma once
// The slowdown order (form M. 3) of an author's scenario, drawn as the
// embedded one is: one row for every slowdown of the train file with the
// stations it lies between (or the station it lies in), the kilometre post
// after which it begins, its speed and its length, and the letter of the
// prescription that follows from the sources: "D" for slowdowns so close that
// the warning of the next stands inside the one before, "B" for one that
// reaches into a station.

#include "autore/route/document_data.hpp"
#include "autore/driver_documents/timetable.hpp"

#include <string>
#include <vector>

namespace autore {

// The lines of the file, Windows-1252, without their line ends.
std::vector<std::string> slowdown_order_lines(const DocumentData& data, const TimetablePlan& plan);

// A station's name as the line's name abbreviates it: "Portaurea Centrale" is "Portaurea C.le".
std::string short_station_name(const std::string& name);

} // namespace autore
