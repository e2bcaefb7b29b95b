#pragma once
// One compile of a scenario's two sources and the writing of its three binary
// files as one set: the program's run and `autore compile` both go through
// here, so the simulator gets the same files from either, to the byte.

#include "app/binary_set.hpp"
#include "app/compile_purpose.hpp"
#include "compile/compile.hpp"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tratta {

struct CompileAndWrite {
    SourceText line;           // the line file, as read
    SourceText train;          // the train file, as read
    std::string scenario_name; // Windows-1252 bytes
    std::string train_name;
    bool line_table = true; // false: no "_linea.dat" (the records and the grid only)
    CompilePurpose purpose = CompilePurpose::program_files;
    BinaryNames files; // where the set goes
    // Called once the compile has ended and before any file of the set takes
    // its name: the program deletes here the sources the reader has done with.
    std::function<void(const CompileResult&)> after_compile;
};

struct WrittenCompile {
    CompileResult result;
    std::vector<std::filesystem::path> written; // the files of the set, in order; none when the compile made none
};

// Compiles, and writes the set when the compile makes files (clean or with a
// data error): the line table is staged beside its place as soon as the
// compile has it. A file that cannot be written throws FileFailure; the files
// of the set that had not yet taken their names are gone with it.
WrittenCompile compile_and_write(const CompileAndWrite& request);

} // namespace tratta
