#pragma once
// File handling of the run: every file the program makes takes its new
// content whole or keeps its old one, sets of files change together, and a
// file that cannot be made, written, read or deleted ends the run with a
// message naming it.

#include "app/file_steps.hpp"
#include "app/stop_signals.hpp"

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
    FileFailure(const std::filesystem::path& file, const std::string& cause); // "file X: cause"
    static FileFailure on_folder(const std::filesystem::path& folder, const std::string& cause); // "cartella X: cause"
    static FileFailure on_standard_output(const std::string& cause); // "uscita standard: cause"

    // The same failure with a note after it: "...: cause; note".
    FileFailure adding(const std::string& note) const;

    // The file or folder concerned ("-" for standard output).
    const std::filesystem::path& file() const { return file_; }

private:
    struct Worded {};
    FileFailure(Worded, const std::string& message, const std::filesystem::path& file);

    std::filesystem::path file_;
};

// Whether a file must outlast a power cut once it is written. A scratch file
// is one the run deletes again before it ends (the sources the compile reads
// and the program then deletes): its data and its name are not flushed to
// the disk, which spares the run two waits on the disk for each.
enum class Durability { lasting, scratch };

// Refuses, with a FileFailure naming it, a file the writer could not replace:
// anything but a regular file or nothing, a read-only file, or a name too
// long for the temporary name. What a StagedFile checks before it is made.
void check_can_replace(const std::filesystem::path& file);

// New content for a file, complete in a temporary file beside it (created
// afresh, never through a link, flushed to the disk). The file takes it only
// at replace() or replace_together(); dropped before that, the temporary
// file goes and the old file keeps its content. A path that is anything but
// a regular file or nothing, a read-only file, or a name too long for the
// temporary name is refused at once, before anything is made.
class StagedFile {
public:
    StagedFile(const std::filesystem::path& file, std::string_view bytes,
               Durability durability = Durability::lasting); // throws FileFailure
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::filesystem::path& file() const { return file_; }
    const std::filesystem::path& temporary() const { return temporary_; } // empty once used or moved from
    Durability durability() const { return durability_; }
    void replace(); // replace_together of this one file

private:
    friend void replace_together(std::span<StagedFile> files);
    void discard() noexcept;
    // The flush that the disk was let begin, waited for; the file closed.
    std::error_code settle();

    std::filesystem::path file_;
    std::filesystem::path temporary_;
    RemovalOnStop on_stop_;
    Durability durability_;
    // Open while a lasting file's flush is still to be waited for.
    file_steps::OutputFile unsettled_;
};

// Every staged file takes its place, or none does: the old files are kept
// under backup names until all the new ones are in place and their folders
// are flushed (once for the whole set; not for scratch files). If any step
// fails, the files already replaced get their old content back (one that did
// not exist is removed again) and a FileFailure names the file and the
// cause. After success no backup remains. SIGINT, SIGTERM and SIGHUP wait
// until the set is whole or put back. The staged files are used up either way.
void replace_together(std::span<StagedFile> files);

// What a set of `count` files that failed before any name changed tells:
// "nessuno dei 3 file è cambiato" ("il file resta com'era" for one).
std::string set_unchanged(std::size_t count);

// The file takes the bytes as its whole new content, or keeps its old one.
void write_file_replacing(const std::filesystem::path& file, std::string_view bytes,
                          Durability durability = Durability::lasting);
void write_file_replacing(const std::filesystem::path& file, const std::vector<uint8_t>& bytes,
                          Durability durability = Durability::lasting);

bool file_exists(const std::filesystem::path& file);

// Deletes the file when it exists; a file that exists and cannot be deleted is a FileFailure.
void delete_file(const std::filesystem::path& file);

// The whole content of a regular file; anything else (a folder, a fifo, a
// device), or a file that cannot be opened or read, is a FileFailure. Never
// waits on a fifo.
std::string read_file(const std::filesystem::path& file);

// A path as a person reads it in a message (UTF-8, control bytes spelt out).
std::string display_path(const std::filesystem::path& file);

} // namespace tratta
