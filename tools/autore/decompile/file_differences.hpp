#pragma once
// Where the files that sources compile to differ from the compiled files
// given: every differing field with its place (file, record or cell and its
// chainage, metre of the plan), the given value first.

#include "compile/memorizza_percorso.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace autore {

struct GivenFiles {
    std::string records;    // ".sim"
    std::string grid;       // ".dat"
    std::string line_table; // "_linea.dat"; empty when not given
};

// One line per differing field; none when the files are the same to the byte
// (the line table only compared when given).
std::vector<std::string> file_differences(const GivenFiles& given, const tratta::CompiledFiles& made);

} // namespace autore
