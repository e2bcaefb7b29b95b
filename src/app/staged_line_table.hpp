#pragma once
// The line table, the largest file of a scenario, staged beside its place as
// soon as the compile has it: the disk takes it while the train file is
// compiled, and its bytes leave the memory at once.

#include "app/files.hpp"
#include "compile/memorizza_percorso.hpp"

#include <filesystem>
#include <optional>

namespace tratta {

// A LineTableReady that stages the table as `file` into `staged` and takes
// its bytes. A failure leaves the bytes with the compile and `staged` empty:
// it is met again, and told, when the three files are written. Both
// arguments must outlive the compile.
LineTableReady stage_early(const std::filesystem::path& file, std::optional<StagedFile>& staged);

} // namespace tratta
