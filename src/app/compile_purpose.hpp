#pragma once
// What a compile is asked for, named once for every caller: the program's
// run, the authoring tool's compile, its check, its drawing, its documents,
// its comparisons. Each purpose says what the compile keeps beside the files;
// the bytes of the files are the same whatever the purpose.

#include "compile/compile.hpp"

#include <cstdint>
#include <string>

namespace tratta {

enum class CompilePurpose : uint8_t {
    // The program's run: the three files and nothing beside them.
    program_files,
    // `autore compile`: the files, and from the same compile where each object
    // came from and every field as read, for the diagnostics printed with them
    // (a compile without the line table reads no curve: nothing is kept then).
    author_files,
    // A check, which writes nothing: origins and fields kept, the plan of the
    // track walked for its errors but not kept.
    check,
    // A check whose plan of the track is drawn (the route page): the same,
    // with the line table kept.
    check_and_draw,
    // The compiled tables the driver's documents read: where each object came
    // from, no fields, no line table.
    tables,
    // The files in memory, to compare them with others or read their plan
    // (decompile's verification, diff): no origins, no fields.
    files_in_memory,
};

// The compile's input for that purpose. Names are Windows-1252 bytes;
// line_table false is the compile without "_linea.dat".
CompileInput compile_input(CompilePurpose purpose, SourceText line, SourceText train, std::string scenario_name,
                           std::string train_name, bool line_table = true);

} // namespace tratta
