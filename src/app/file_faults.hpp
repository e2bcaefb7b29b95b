#pragma once
// A seam for the tests of the file writer: a hook that can make any step of a
// write fail, as a full or failing disk would, or end the process right at
// that step, as a power cut or a kill would. Nothing in the program sets it.

#include <filesystem>

namespace tratta {

// The steps of writing files, in the order a set of files takes them: the new
// content is made under a temporary name, written and flushed to the disk;
// the old file is kept under a backup name (a second link, or renamed aside
// where links are not possible); the new file takes the final name; the
// folder is flushed so that the new names last; the names no longer needed
// (the backups, the record of the set, a temporary file of a failed write)
// are removed.
enum class FileStep { create, write, flush, link, rename, folder_flush, remove };

inline constexpr FileStep every_file_step[] = {FileStep::create, FileStep::write,        FileStep::flush,
                                               FileStep::link,   FileStep::rename,       FileStep::folder_flush,
                                               FileStep::remove};

const char* file_step_name(FileStep step);

// Called before each step with the file it concerns (the folder for a folder
// flush). Returns 0 to let the step run, or an errno value (EIO, ENOSPC, ...)
// that the step then fails with. A hook that ends the process (_exit) stops
// the run right there, with no clean-up at all.
using FileFaultHook = int (*)(FileStep step, const std::filesystem::path& file);

// For tests only: sets the hook (nullptr: none) and returns the previous one.
FileFaultHook set_file_fault_hook(FileFaultHook hook) noexcept;

} // namespace tratta
