#pragma once
// The embedded scenario as a template for an author to start from, written
// into a folder: its line file and train file, and the driver's three
// documents made from them as the author's own will be made. Nothing is
// deleted.

#include <filesystem>
#include <string>
#include <vector>

namespace autore {

struct ExportReport {
    int exit_status = 0; // 0 written, 1 nothing written
    std::vector<std::string> problems;
    std::vector<std::filesystem::path> written;
};

// An existing file of the same name is an author's work: it is kept, and
// nothing is written, unless overwrite is set. Even then a name that is not a
// regular file is refused. The five files are replaced together or not at all.
ExportReport export_template(const std::filesystem::path& dir, bool overwrite);

} // namespace autore
