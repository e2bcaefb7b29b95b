#pragma once
// The general section of the line file: route length, kilometre chainages,
// backgrounds and the stretch with signal repetition.

#include "source/source_reader.hpp"

namespace tratta {

enum class GeneralSection {
    read,      // ended at its closing header or at the end of the file
    refused,   // a line was refused: error_code holds why
    no_length, // ended without a route length: there is no grid to build on
};

// Reads from the field after "[generale]" up to the section's closing header.
// The route length line creates the route grid and, when j is not 0, the
// per-metre line table.
GeneralSection read_general_section(RunState& state, FieldReader& in);

} // namespace tratta
