#pragma once
// The steps of writing a file as the system takes them, each one passing the
// fault seam first: exclusive creation, complete writes, flushes to the disk,
// links, renames and folder flushes. Every step reports its failure as an
// error code and never throws; the callers turn it into a message.

#include "app/file_faults.hpp"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace tratta::file_steps {

// A file open for writing, closed when dropped.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;

    bool is_open() const;
    std::error_code close();

private:
    friend std::error_code create_exclusive(const std::filesystem::path&, OutputFile&);
    friend std::error_code write_all(OutputFile&, std::string_view, const std::filesystem::path&);
    friend std::error_code flush(OutputFile&, const std::filesystem::path&);
    friend void start_flush(OutputFile&);
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Makes a new file that did not exist: never opens an existing one, never
// follows a link at the name (O_CREAT|O_EXCL|O_NOFOLLOW, CREATE_NEW on
// Windows). Mode 0666 less the umask. A name already taken gives
// errc::file_exists.
std::error_code create_exclusive(const std::filesystem::path& file, OutputFile& out);

// Writes every byte, through interrupted and short writes.
std::error_code write_all(OutputFile& out, std::string_view bytes, const std::filesystem::path& file);

// Flushes the file's data to the disk (fsync, FlushFileBuffers).
std::error_code flush(OutputFile& out, const std::filesystem::path& file);

// Lets the disk begin taking the file's data while the run goes on, so that
// the flush that must come before its rename finds little left to wait for
// (Linux: the write-out is started, not waited on; elsewhere nothing). Never
// fails: the flush still reports what went wrong.
void start_flush(OutputFile& out);

// A second name for an existing file (a hard link).
std::error_code link(const std::filesystem::path& existing, const std::filesystem::path& new_name);

// Gives the file a new name in one step, replacing a file of that name.
std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a name; one that is already gone is no failure.
std::error_code remove(const std::filesystem::path& file);

// Flushes the folder's entries to the disk, so that the names given in it
// last. Windows keeps no such flush for folders: there only the hook runs.
std::error_code flush_folder(const std::filesystem::path& folder);

// The failure the system reported for the last call that failed (errno; on
// Windows the last error, given as the nearest errno value).
std::error_code last_system_error();

// A cause for a message: what could not be done, and why ("impossibile
// creare il file (No space left on device)").
std::string cause(std::string_view what, std::error_code ec);

// The folder that holds a file ("." for a bare name).
std::filesystem::path folder_of(const std::filesystem::path& file);

} // namespace tratta::file_steps
