#pragma once
// A data set: one of the scenario's five text files held in the program as a
// table of literal lines (UTF-8 in the source code), in file order, closed by
// the end marker, which is never written. A table holds at most 1001 entries.

#include <span>
#include <string_view>

namespace tratta {

using DataSet = std::span<const std::string_view>;

inline constexpr std::string_view end_marker = "riferimento fine del file";
inline constexpr std::size_t data_set_capacity = 1001;

// The five data sets of the embedded scenario.
DataSet linea_data();         // the line file
DataSet treno_data();         // the train file
DataSet note_data();          // the notes for the driver
DataSet rallentamenti_data(); // the slowdown order
DataSet scheda_data();        // the timetable sheet

} // namespace tratta
