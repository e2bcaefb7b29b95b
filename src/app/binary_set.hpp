#pragma once
// The three binary files of a compile written as one set, for the program
// and for the authoring tool alike: each complete beside its place before any
// of them replaces an older file, so the simulator never finds a line table,
// records and route grid of two different compiles side by side.

#include "app/files.hpp"
#include "compile/compile.hpp"

#include <filesystem>
#include <optional>
#include <vector>

namespace tratta {

struct BinaryNames {
    std::filesystem::path line_table; // S_linea.dat
    std::filesystem::path records;    // S_T.sim
    std::filesystem::path grid;       // S_T.dat
};

// Writes the compile's files under those names. The line table may be staged
// already (stage_early); without it and without its bytes (a compile with no
// line table) the set is the records and the grid. A file that cannot even be
// started stops the set before any name changes, and its message says that
// none of the set changed. Returns the files written, in order.
std::vector<std::filesystem::path> write_binary_set(const CompileResult& result, const BinaryNames& names,
                                                    std::optional<StagedFile>& staged_line_table);

} // namespace tratta
