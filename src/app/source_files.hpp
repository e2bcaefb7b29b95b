#pragma once
// A source file read for the compile: its bytes, or that it is missing, or
// that it exists and cannot be read.

#include "model/run_state.hpp"

#include <filesystem>
#include <string>

namespace tratta {

struct LoadedSource {
    SourceText::State state = SourceText::State::missing;
    std::string bytes;
    std::string cause; // unreadable: why

    // The source as the compile takes it; valid while this object lives.
    SourceText text() const { return {state, bytes, cause}; }
};

LoadedSource load_source(const std::filesystem::path& file);

} // namespace tratta
