#pragma once
// The round trip of a compiled scenario: its sources written again and
// compiled in memory under the names its records hold, and every field where
// the result differs from the files given.

#include "autore/decompile/file_differences.hpp"
#include "autore/decompile/rebuilt_sources.hpp"

#include <string>
#include <vector>

namespace autore {

struct RoundTrip {
    RebuiltSources sources;
    std::vector<std::string> differences; // none: the same files, byte for byte
};

RoundTrip round_trip(const LoadedScenario& scenario, const GivenFiles& given);

} // namespace autore
