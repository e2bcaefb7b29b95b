#pragma once
// What the two halves of the source reader share: the hand-over from the line
// half to the train half, opening a source file, the key steps and the
// failure path.

#include "model/run_state.hpp"
#include "source/field_reader.hpp"

#include <cstdint>

namespace tratta {

// Passed from the line half to the train half.
struct ReaderHandoff {
    int32_t board_slot = 80; // the record the next sign board would take
};

// The source file as a field reader; a file that is missing or cannot be
// read is a ReadFailure (error 25 on the failure path).
FieldReader open_source(const RunState& state, SourceFile file);

// Reads one field as the current key into work_text and notes where it
// stands, so that an error raised by this key can name its place.
void read_key(RunState& state, FieldReader& in);

// Reads the next field as the key, when a field is left: false when the file
// is at its end before it or right after it, since the last field of a file
// is never acted upon.
bool read_key_before_end(RunState& state, FieldReader& in);

// The next key of the key loop (the body of the line file and the train
// file) into work_text: false when the file has no field left to act upon,
// since the last field of a file never is. A comment field (one holding a
// dash) gives way to the field after it, at most twice in a row, each time
// followed by the same end-of-file test; a longer run of comments leaves its
// third field in place as the key.
bool next_key(RunState& state, FieldReader& in);

// The failure path shared by both halves: every file closed, both source files
// deleted where they still exist, error 25 with the cause of the failed read.
void fallimento_lettura(RunState& state, const ReadFailure& failure);

} // namespace tratta
