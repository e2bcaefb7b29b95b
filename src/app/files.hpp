#pragma once
// File handling of the run: every file the program makes takes its whole new
// content at once, in place of any older file of that name, and a file that
// cannot be made, written or deleted ends the run with a message naming it.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tratta {

// A failure outside the numbered errors: a file that cannot be created,
// written, read or deleted. The message names the file and the cause.
class FileFailure : public std::runtime_error {
public:
    FileFailure(const std::filesystem::path& file, const std::string& cause);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// New content for a file, complete in a temporary file beside it. The file
// takes it only at replace(); dropped before that, the temporary file goes and
// the old file keeps its content. Several files staged first and replaced
// after change together: a write that fails for one changes none.
class StagedFile {
public:
    StagedFile(const std::filesystem::path& file, std::string_view bytes); // throws FileFailure
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::filesystem::path& file() const { return file_; }
    void replace(); // throws FileFailure when the rename fails

private:
    void discard() noexcept;

    std::filesystem::path file_;
    std::filesystem::path temporary_; // empty once replaced or moved from
};

// Replaces every staged file, in order: the set of files that one compile makes.
void replace_together(std::span<StagedFile> files);

// Writes the bytes as the file's whole new content, replacing any older file
// of that name only once the new one is complete.
void write_file_replacing(const std::filesystem::path& file, std::string_view bytes);

bool file_exists(const std::filesystem::path& file);

// Deletes the file when it exists; a file that exists and cannot be deleted is a FileFailure.
void delete_file(const std::filesystem::path& file);

// The whole content of a file; a file that cannot be opened or read is a FileFailure.
std::string read_file(const std::filesystem::path& file);

// A path as a person reads it in a message.
std::string display_path(const std::filesystem::path& file);

} // namespace tratta
