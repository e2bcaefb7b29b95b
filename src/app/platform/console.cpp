// The console stand-in for the window and the message box, on every system
// without Win32.
#include "app/platform.hpp"

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <system_error>
#include <vector>

extern char** environ;

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

bool open_in_browser(const std::string& address)
{
#if defined(__APPLE__)
    const char* opener = "open";
#else
    const char* opener = "xdg-open"; // the desktop's own choice of browser
#endif
    // The opener's chatter stays off the author's console.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char> program(opener, opener + std::char_traits<char>::length(opener) + 1);
    std::vector<char> argument(address.begin(), address.end());
    argument.push_back('\0');
    char* const argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawnp(&child, opener, &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    return failed == 0;
}

} // namespace tratta::platform
