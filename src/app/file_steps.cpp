#include "app/file_steps.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tratta {

namespace {

std::atomic<FileFaultHook> fault_hook{nullptr};

} // namespace

const char* file_step_name(FileStep step)
{
    switch (step) {
    case FileStep::create: return "create";
    case FileStep::write: return "write";
    case FileStep::flush: return "flush";
    case FileStep::link: return "link";
    case FileStep::rename: return "rename";
    case FileStep::folder_flush: return "folder_flush";
    case FileStep::remove: return "remove";
    }
    return "?";
}

FileFaultHook set_file_fault_hook(FileFaultHook hook) noexcept { return fault_hook.exchange(hook); }

namespace file_steps {

namespace {

std::error_code from_errno(int e) { return {e, std::generic_category()}; }

// The failure a test asks for at this step, if any.
std::error_code injected(FileStep step, const std::filesystem::path& file)
{
    const FileFaultHook hook = fault_hook.load();
    if (hook == nullptr)
        return {};
    const int e = hook(step, file);
    return e != 0 ? from_errno(e) : std::error_code{};
}

// One system call takes at most this much, well under what any system accepts.
constexpr std::size_t largest_chunk = std::size_t{1} << 30;

} // namespace

std::string cause(std::string_view what, std::error_code ec)
{
    std::string text(what);
    if (ec)
        text += " (" + ec.message() + ")";
    return text;
}

std::filesystem::path folder_of(const std::filesystem::path& file)
{
    const auto parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

#ifdef _WIN32

std::error_code last_system_error()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return from_errno(ENOENT);
    case ERROR_ACCESS_DENIED: return from_errno(EACCES);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return from_errno(EBUSY);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return from_errno(EEXIST);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return from_errno(ENOSPC);
    case ERROR_NOT_SAME_DEVICE: return from_errno(EXDEV);
    case ERROR_WRITE_PROTECT: return from_errno(EROFS);
    case ERROR_FILENAME_EXCED_RANGE: return from_errno(ENAMETOOLONG);
    case ERROR_INVALID_NAME: return from_errno(EINVAL);
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION: return from_errno(ENOTSUP);
    case ERROR_TOO_MANY_LINKS: return from_errno(EMLINK);
    default: return from_errno(EIO);
    }
}

OutputFile::~OutputFile() { close(); }

OutputFile::OutputFile(OutputFile&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool OutputFile::is_open() const { return handle_ != nullptr; }

void start_flush(OutputFile&) {}

std::error_code OutputFile::close()
{
    if (handle_ == nullptr)
        return {};
    const BOOL closed = CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    return closed ? std::error_code{} : last_system_error();
}

std::error_code create_exclusive(const std::filesystem::path& file, OutputFile& out)
{
    if (auto ec = injected(FileStep::create, file))
        return ec;
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return last_system_error();
    out.handle_ = h;
    return {};
}

std::error_code write_all(OutputFile& out, std::string_view bytes, const std::filesystem::path& file)
{
    while (!bytes.empty()) {
        if (auto ec = injected(FileStep::write, file))
            return ec;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), largest_chunk));
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(out.handle_), bytes.data(), chunk, &written, nullptr))
            return last_system_error();
        if (written == 0)
            return from_errno(EIO);
        bytes.remove_prefix(written);
    }
    return {};
}

std::error_code flush(OutputFile& out, const std::filesystem::path& file)
{
    if (auto ec = injected(FileStep::flush, file))
        return ec;
    return FlushFileBuffers(static_cast<HANDLE>(out.handle_)) ? std::error_code{} : last_system_error();
}

std::error_code link(const std::filesystem::path& existing, const std::filesystem::path& new_name)
{
    if (auto ec = injected(FileStep::link, existing))
        return ec;
    return CreateHardLinkW(new_name.c_str(), existing.c_str(), nullptr) ? std::error_code{} : last_system_error();
}

std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (auto ec = injected(FileStep::rename, to))
        return ec;
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? std::error_code{}
               : last_system_error();
}

std::error_code remove(const std::filesystem::path& file)
{
    if (auto ec = injected(FileStep::remove, file))
        return ec;
    if (DeleteFileW(file.c_str()))
        return {};
    const auto ec = last_system_error();
    return ec == std::errc::no_such_file_or_directory ? std::error_code{} : ec;
}

// NTFS keeps its own journal of names; a folder cannot be flushed as such.
std::error_code flush_folder(const std::filesystem::path& folder) { return injected(FileStep::folder_flush, folder); }

#else

std::error_code last_system_error() { return from_errno(errno); }

OutputFile::~OutputFile() { close(); }

OutputFile::OutputFile(OutputFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool OutputFile::is_open() const { return fd_ >= 0; }

void start_flush(OutputFile& out)
{
#ifdef SYNC_FILE_RANGE_WRITE
    if (out.fd_ >= 0)
        ::sync_file_range(out.fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)out;
#endif
}

std::error_code OutputFile::close()
{
    if (fd_ < 0)
        return {};
    const int result = ::close(fd_);
    fd_ = -1;
    // After an interrupted close the descriptor is gone all the same.
    return result == 0 || errno == EINTR ? std::error_code{} : last_system_error();
}

std::error_code create_exclusive(const std::filesystem::path& file, OutputFile& out)
{
    if (auto ec = injected(FileStep::create, file))
        return ec;
    for (;;) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            out.fd_ = fd;
            return {};
        }
        if (errno != EINTR)
            return last_system_error();
    }
}

std::error_code write_all(OutputFile& out, std::string_view bytes, const std::filesystem::path& file)
{
    while (!bytes.empty()) {
        if (auto ec = injected(FileStep::write, file))
            return ec;
        const ssize_t n = ::write(out.fd_, bytes.data(), std::min(bytes.size(), largest_chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return last_system_error();
        }
        if (n == 0)
            return from_errno(EIO);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

std::error_code flush(OutputFile& out, const std::filesystem::path& file)
{
    if (auto ec = injected(FileStep::flush, file))
        return ec;
    while (::fsync(out.fd_) != 0)
        if (errno != EINTR)
            return last_system_error();
    return {};
}

std::error_code link(const std::filesystem::path& existing, const std::filesystem::path& new_name)
{
    if (auto ec = injected(FileStep::link, existing))
        return ec;
    return ::link(existing.c_str(), new_name.c_str()) == 0 ? std::error_code{} : last_system_error();
}

std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (auto ec = injected(FileStep::rename, to))
        return ec;
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code{} : last_system_error();
}

std::error_code remove(const std::filesystem::path& file)
{
    if (auto ec = injected(FileStep::remove, file))
        return ec;
    if (::unlink(file.c_str()) == 0 || errno == ENOENT)
        return {};
    return last_system_error();
}

std::error_code flush_folder(const std::filesystem::path& folder)
{
    if (auto ec = injected(FileStep::folder_flush, folder))
        return ec;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return last_system_error();
    std::error_code ec;
    while (::fsync(fd) != 0) {
        // Some file systems cannot flush a folder at all; their names last as they can.
        if (errno != EINTR) {
            if (errno != EINVAL && errno != ENOTSUP && errno != EROFS)
                ec = last_system_error();
            break;
        }
    }
    ::close(fd);
    return ec;
}

#endif

} // namespace file_steps
} // namespace tratta
