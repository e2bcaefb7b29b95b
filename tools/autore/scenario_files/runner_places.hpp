#pragma once
// Where autore finds the runner that `pack` turns into an author's program:
// beside the tool wherever it was unpacked or installed, and in the build
// trees of a developer. A runner found nowhere is told with every folder
// looked in, so that the author knows where to put one (or names it with
// --runner).

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace autore {

// The folders looked in, in order, for a tool standing in tool_folder:
//   the tool's own folder          the Windows zip (autore.exe beside tratta_runner.exe)
//   ../lib/tratta                  the Debian package (/usr/bin, /usr/lib/tratta) and
//                                  the Linux archive (bin/, lib/tratta/)
//   ../src                         the build tree the tool was built in (build/tools, build/src)
//   ../../build-win/src,           the build tree of the other system beside it (the
//   ../../build/src                mingw tree beside the Linux one, and the other way round)
// Each folder once, written without "." and "..".
std::vector<std::filesystem::path> runner_folders(const std::filesystem::path& tool_folder);

struct RunnerSearch {
    std::optional<std::filesystem::path> found;  // the first runner of that name
    std::vector<std::filesystem::path> looked_in; // every folder looked in, in order
};

// The runner file_name ("tratta_runner" or "tratta_runner.exe") in the first
// of the runner folders that holds it.
RunnerSearch find_runner(std::string_view file_name, const std::filesystem::path& tool_folder);

} // namespace autore
