#pragma once
// The names the writer gives its own passing files beside a final file, and
// the clean-up of those that an earlier run, killed half-way, left behind:
//   <final name>.tratta-tmp-<process>-<n>   new content, not yet in place
//   <final name>.tratta-bak-<process>-<n>   old content, kept while a set of files is replaced
// <process> is the number of the process that made the file, <n> a counter of
// that process; both are plain decimal numbers, without leading zeros.

#include <cstddef>
#include <filesystem>
#include <vector>

namespace tratta {

enum class OwnFile { temporary, backup };

// The most characters the writer adds to a final name ('.', the 10-letter
// marker, '-', a 10-digit process number, '-', a 10-digit counter).
inline constexpr std::size_t own_suffix_longest = 33;

// A fresh name beside the file, never given before by this process. A name
// still taken (by a file of an earlier process of the same number) is passed
// over for the next one, up to this many times.
inline constexpr int own_name_tries = 100;
std::filesystem::path own_name_beside(const std::filesystem::path& file, OwnFile kind);

// Whether the name (or the last part of a path) is exactly one of these.
bool is_own_temporary(const std::filesystem::path& name);

// Cleans the folder (not its subfolders) of the writer's files that a process
// no longer running left there: a temporary file is removed; a backup is
// removed, or put back under its final name when that name is free (the old
// file was renamed aside and nothing took its place). Only regular files whose
// whole name fits the pattern are touched, never those of this process or of
// one still running, never anything else. Returns the names it removed or
// put back; a folder that cannot be read, or a file that cannot be removed,
// is left as it is.
std::vector<std::filesystem::path> remove_stale_temporaries(const std::filesystem::path& folder);

} // namespace tratta
