// The console stand-in for the window and the message box, on every system
// without Win32.
#include "app/platform.hpp"

#include <cstdio>
#include <system_error>
#include <vector>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace tratta::platform {

void show_wait_window()
{
    std::fputs("Attendere\n", stderr);
    std::fflush(stderr);
}

void close_wait_window() {}

void error_box(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void report(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
}

std::filesystem::path program_folder() { return program_file().parent_path(); }

std::filesystem::path program_file()
{
#if defined(__APPLE__)
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buf(size + 1, '\0');
    if (_NSGetExecutablePath(buf.data(), &size) == 0)
        return std::filesystem::weakly_canonical(buf.data());
#else
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return exe;
#endif
    throw std::filesystem::filesystem_error("file del programma non trovato",
                                            std::make_error_code(std::errc::no_such_file_or_directory));
}

} // namespace tratta::platform
