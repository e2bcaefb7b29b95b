#pragma once
// The keys the readers look for in each part of the two files, in the order
// they test them: the line file's general section, the line file's body, the
// train file.

#include "model/source_places.hpp"
#include "source/field_trace.hpp"
#include "source/key_fields.hpp"

#include <span>

namespace tratta {

std::span<const KeySpec* const> keys_of(SourceFile file, TracePart part);

} // namespace tratta
