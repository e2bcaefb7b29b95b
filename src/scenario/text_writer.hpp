#pragma once
// The one writing procedure behind the five writers: a data set becomes the
// bytes of a text file of Windows-1252 lines, each ended by CR LF, up to (not
// including) the end marker.

#include "scenario/data_set.hpp"

#include <string>

namespace tratta {

// The bytes of the text file that a data set makes.
std::string encode_data_set(DataSet lines);

} // namespace tratta
