#pragma once
// The files beside an open document: the server looks there for the other
// file of a scenario when the editor does not hold it. Tests, the fuzzer and
// the benchmark give the server a disk of their own.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace autore::lsp {

class Disk {
public:
    virtual ~Disk() = default;
    // The names of the files in a folder (none when it cannot be read).
    virtual std::vector<std::string> names_in(const std::filesystem::path& folder) const = 0;
    // A file's bytes; none when it is missing, cannot be read or holds more than `limit` bytes.
    virtual std::optional<std::string> read(const std::filesystem::path& file, std::size_t limit) const = 0;
};

// The real file system, only ever read; a file is read again only when its
// modification time or size has changed.
std::unique_ptr<Disk> real_disk();
// No file at all: every document stands alone.
std::unique_ptr<Disk> no_disk();
// The files given, by path, and no other.
std::unique_ptr<Disk> memory_disk(std::map<std::string, std::string> files);

} // namespace autore::lsp
