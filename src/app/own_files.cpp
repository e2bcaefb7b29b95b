#include "app/own_files.hpp"

#include "app/file_steps.hpp"
#include "app/files.hpp"

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace tratta {

namespace {

constexpr std::string_view temporary_marker = ".tratta-tmp-";
constexpr std::string_view backup_marker = ".tratta-bak-";
static_assert(temporary_marker.size() == backup_marker.size());
static_assert(own_suffix_longest == temporary_marker.size() + 10 + 1 + 10);

std::uint32_t current_process()
{
#ifdef _WIN32
    return static_cast<std::uint32_t>(GetCurrentProcessId());
#else
    return static_cast<std::uint32_t>(getpid());
#endif
}

// Whether the process that made a file may still be at work on it. A process
// that cannot be asked (another user's) counts as running.
bool process_running(std::uint32_t process)
{
#ifdef _WIN32
    const HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (h == nullptr)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(h, &code) || code == STILL_ACTIVE;
    CloseHandle(h);
    return running;
#else
    if (process == 0 || process > static_cast<std::uint32_t>(std::numeric_limits<pid_t>::max()))
        return false;
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH;
#endif
}

// A number as the writer spells it: 1 to 10 digits, no leading zero, at most 2^32 - 1.
std::optional<std::uint32_t> plain_number(std::string_view digits)
{
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

struct OwnName {
    OwnFile kind;
    std::uint32_t process;
    std::size_t suffix_length; // characters after the final name
};

std::optional<OwnName> parse_own_name(const std::filesystem::path& file)
{
    const std::string name = display_path(file.filename());
    for (const auto& [marker, kind] : {std::pair{temporary_marker, OwnFile::temporary}, std::pair{backup_marker, OwnFile::backup}}) {
        const auto at = name.rfind(marker);
        if (at == std::string::npos || at == 0)
            continue;
        const std::string_view numbers = std::string_view(name).substr(at + marker.size());
        const auto dash = numbers.find('-');
        if (dash == std::string_view::npos)
            continue;
        const auto process = plain_number(numbers.substr(0, dash));
        if (!process || *process == 0 || !plain_number(numbers.substr(dash + 1)))
            continue;
        return OwnName{kind, *process, name.size() - at};
    }
    return std::nullopt;
}

bool is_regular_file_itself(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::regular;
}

} // namespace

std::filesystem::path own_name_beside(const std::filesystem::path& file, OwnFile kind)
{
    static std::atomic<std::uint32_t> counter{0};
    // The process number is asked each time: a child process made by fork
    // names its files with its own number.
    auto name = file.filename();
    name += std::string(kind == OwnFile::temporary ? temporary_marker : backup_marker) +
            std::to_string(current_process()) + "-" + std::to_string(counter++);
    return file.parent_path() / name;
}

bool is_own_temporary(const std::filesystem::path& name) { return parse_own_name(name).has_value(); }

std::vector<std::filesystem::path> remove_stale_temporaries(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> handled;
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder, ec);
    if (ec)
        return handled;
    std::vector<std::filesystem::path> found;
    for (auto it = entries; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        found.push_back(it->path());
    }
    const std::uint32_t self = current_process();
    for (const auto& file : found) {
        const auto own = parse_own_name(file);
        if (!own || own->process == self || process_running(own->process) || !is_regular_file_itself(file))
            continue;
        if (own->kind == OwnFile::backup) {
            auto final_name = file.filename().native();
            final_name.resize(final_name.size() - own->suffix_length);
            const auto target = file.parent_path() / final_name;
            if (std::filesystem::symlink_status(target, ec).type() == std::filesystem::file_type::not_found) {
                if (!file_steps::rename(file, target))
                    handled.push_back(file);
                continue;
            }
        }
        if (!file_steps::remove(file))
            handled.push_back(file);
    }
    if (!handled.empty())
        file_steps::flush_folder(folder);
    return handled;
}

} // namespace tratta
