#include "source/part_keys.hpp"

#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

namespace tratta {

std::span<const KeySpec* const> keys_of(SourceFile file, TracePart part)
{
    if (file == SourceFile::train)
        return train_keys::all();
    return part == TracePart::general ? line_keys::general() : line_keys::body();
}

} // namespace tratta
