#pragma once
// The compile step as a function of bytes: the two source texts in, the three
// binary files and every diagnostic out. No file is read, written or deleted
// here: the program and the authoring tool read the sources, and act on the
// result (which sources to delete, which files to write).

#include "compile/memorizza_percorso.hpp"
#include "model/run_state.hpp"
#include "source/field_trace.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tratta {

struct CompileInput {
    SourceText line;           // the line file
    SourceText train;          // the train file
    std::string scenario_name; // Windows-1252 bytes
    std::string train_name;
    bool line_table = true;    // the compile step's j: build and make "_linea.dat"
    bool note_origins = false; // keep, for each object in the grid, the source line that placed it
    bool trace_fields = false; // keep every field as the readers read it
    // false: the plan of the track is walked (its errors are the same) but
    // not kept, and no "_linea.dat" is made: for a check, which writes nothing.
    bool keep_line_table = true;
    // Given: called with the line table as soon as it is complete (see
    // LineTableReady); what it takes is not in the result's files.
    LineTableReady line_table_ready = nullptr;
};

enum class CompileOutcome : uint8_t {
    clean,      // no data error: the three files are made
    data_error, // a data error was recorded; the three files are made all the same
    error_box,  // 1250 or 1251: a reserved field was taken; no file is made
    failure,    // no route grid after reading, or a record that no file can hold; no file is made
};

struct CompileResult {
    CompileOutcome outcome = CompileOutcome::clean;
    CompiledFiles files; // made only when clean or data_error

    // The system's error record, as the run leaves it: the last data error.
    int32_t error_code = 0;
    int32_t error_at_m = 0;
    // Every data error of the compile, in the order recorded.
    std::vector<DataError> errors;

    int32_t box_number = 0; // error_box: 1250 or 1251
    std::string failure;    // failure: what went wrong, in the user's words

    // The sources that the reader has done with. The program deletes them
    // from its folder right after the compile, the line file first, before any
    // binary file is written; a source not marked here stays.
    bool line_source_deleted = false;
    bool train_source_deleted = false;

    // The tables as compiled, and where their objects came from, for the
    // author's tools (the line table is handed over in `files`).
    RunState model;
    // Every field of both sources as the readers read it, when asked for.
    FieldTrace trace;

    bool makes_files() const { return outcome == CompileOutcome::clean || outcome == CompileOutcome::data_error; }
    // The last data error as an author reads it; none when clean.
    const DataError* last_error() const { return errors.empty() || error_code == 0 ? nullptr : &errors.back(); }
};

// The one place where every way a compile ends becomes an outcome.
CompileResult compile(const CompileInput& input);

} // namespace tratta
