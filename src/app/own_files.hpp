#pragma once
// The names the writer gives its own passing files beside a final file, and
// the clean-up of those that an earlier run, killed half-way, left behind:
//   <final name>.tratta-tmp-<process>-<n>   new content, not yet in place
//   <final name>.tratta-bak-<process>-<n>   old content, kept while a set of files is replaced
//   <final name>.tratta-set-<process>-<n>   the record of a set whose new files are all
//                                           complete: the names of their temporary files
// <process> is the number of the process that made the file, <n> a counter of
// that process; both are plain decimal numbers, without leading zeros.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tratta {

enum class OwnFile { temporary, backup, set_record };

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

// The record of a set of files about to take their places, one in each folder
// that holds files of the set: it names their temporary files, all complete.
// It is made under a temporary name and takes its own in one step, so that a
// run killed at any point leaves either no record or a whole one. While it is
// there, a run that finds its process gone finishes the set (every listed
// temporary file takes its final name), so a kill between the renames never
// leaves a route grid of one compile beside a record table of another.
class SetRecord {
public:
    SetRecord() = default;
    // Makes the records; a step that fails is returned as its cause, with
    // nothing left behind.
    std::optional<std::string> make(const std::vector<std::filesystem::path>& temporaries);
    // Removes the records: the set is whole (all new, or all old again).
    void drop() noexcept;
    // Leaves the records for a later run: the set is all new, but some of its
    // backups could not be removed, and the record keeps them from being put back.
    void leave() noexcept { records_.clear(); }

private:
    std::vector<std::filesystem::path> records_;
};

// Cleans the folder (not its subfolders) of the writer's files that a process
// no longer running left there. A set it had recorded is finished first: its
// listed temporary files take their final names, then its backups and its
// record go. Otherwise a temporary file is removed and a backup is put back
// under its final name (removed only when it is the very file that stands
// there, a second link to it). Only regular files whose
// whole name fits the pattern are touched, never those of this process or of
// one still running, never anything else. Returns the names it removed or
// put back; a folder that cannot be read, or a file that cannot be removed,
// is left as it is.
std::vector<std::filesystem::path> remove_stale_temporaries(const std::filesystem::path& folder);

// The same, done once in a process for each folder, before the first file it
// writes there: every command that writes cleans up after its own killed
// earlier runs, whatever it writes.
void remove_stale_temporaries_once(const std::filesystem::path& folder);

} // namespace tratta
