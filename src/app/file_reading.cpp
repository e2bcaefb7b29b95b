// Reading a whole input file: only a regular file is ever read, and the open
// itself never waits (a fifo given as a source would otherwise hold the run).
#include "app/file_checks.hpp"
#include "app/file_steps.hpp"
#include "app/files.hpp"

#include <algorithm>
#include <cstdint>
#include <exception>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tratta {

namespace {

using file_steps::cause;

constexpr std::size_t read_chunk = std::size_t{1} << 20;  // growth of a file that grows while read
constexpr std::size_t largest_read = std::size_t{1} << 26; // one system call takes at most this

FileFailure too_large(const std::filesystem::path& file)
{
    return FileFailure(file, "impossibile leggere il file (troppo grande per la memoria)");
}

// A buffer for a file of this size and one byte more, so that its end is
// found without growing it.
std::string buffer_for(std::uint64_t size, const std::filesystem::path& file)
{
    try {
        return std::string(static_cast<std::size_t>(size) + 1, '\0');
    } catch (const std::exception&) {
        throw too_large(file);
    }
}

// Room for more bytes once `used` fill the buffer (the file grew meanwhile).
void make_room(std::string& content, std::size_t used, const std::filesystem::path& file)
{
    if (used < content.size())
        return;
    try {
        content.resize(used + std::max(read_chunk, used / 2));
    } catch (const std::exception&) {
        throw too_large(file);
    }
}

const char* const not_regular_any_more = "impossibile leggere il file (non è un file normale)";

#ifdef _WIN32

struct Handle {
    HANDLE h;
    ~Handle() { CloseHandle(h); }
};

#else

struct Descriptor {
    int fd;
    ~Descriptor() { ::close(fd); }
};

#endif

} // namespace

#ifdef _WIN32

std::string read_file(const std::filesystem::path& file)
{
    check_input_path(file);
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw FileFailure(file, cause("impossibile aprire il file", file_steps::last_system_error()));
    const Handle open{h};
    if (GetFileType(h) != FILE_TYPE_DISK)
        throw FileFailure(file, not_regular_any_more);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart < 0)
        size.QuadPart = 0;
    std::string content = buffer_for(static_cast<std::uint64_t>(size.QuadPart), file);
    std::size_t used = 0;
    for (;;) {
        make_room(content, used, file);
        const auto wanted = static_cast<DWORD>(std::min(content.size() - used, largest_read));
        DWORD got = 0;
        if (!ReadFile(h, content.data() + used, wanted, &got, nullptr))
            throw FileFailure(file, cause("impossibile leggere il file", file_steps::last_system_error()));
        if (got == 0)
            break;
        used += got;
    }
    content.resize(used);
    return content;
}

#else

std::string read_file(const std::filesystem::path& file)
{
    check_input_path(file);
    int fd = -1;
    do
        fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw FileFailure(file, cause("impossibile aprire il file", file_steps::last_system_error()));
    const Descriptor open{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw FileFailure(file, cause("impossibile leggere il file", file_steps::last_system_error()));
    if (!S_ISREG(st.st_mode)) // it changed since it was looked at
        throw FileFailure(file, not_regular_any_more);

    std::string content = buffer_for(static_cast<std::uint64_t>(std::max<off_t>(st.st_size, 0)), file);
    std::size_t used = 0;
    for (;;) {
        make_room(content, used, file);
        const ssize_t n = ::read(fd, content.data() + used, std::min(content.size() - used, largest_read));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileFailure(file, cause("impossibile leggere il file", file_steps::last_system_error()));
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    content.resize(used);
    return content;
}

#endif

} // namespace tratta
