#include "app/own_files.hpp"

#include "app/file_checks.hpp"
#include "app/file_steps.hpp"
#include "app/files.hpp"

#include <algorithm>
#include <fstream>

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
constexpr std::string_view set_marker = ".tratta-set-";
static_assert(temporary_marker.size() == backup_marker.size() && temporary_marker.size() == set_marker.size());

// A set names its files in a few hundred bytes; a record beyond this is none of ours.
constexpr std::uintmax_t largest_set_record = 64 * 1024;

std::string_view marker_of(OwnFile kind)
{
    switch (kind) {
    case OwnFile::temporary: return temporary_marker;
    case OwnFile::backup: return backup_marker;
    case OwnFile::set_record: return set_marker;
    }
    return temporary_marker;
}
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
    const auto u8 = file.filename().u8string();
    const std::string name(u8.begin(), u8.end());
    for (const OwnFile kind : {OwnFile::temporary, OwnFile::backup, OwnFile::set_record}) {
        const std::string_view marker = marker_of(kind);
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
    name += std::string(marker_of(kind)) +
            std::to_string(current_process()) + "-" + std::to_string(counter++);
    return file.parent_path() / name;
}

bool is_own_temporary(const std::filesystem::path& name) { return parse_own_name(name).has_value(); }

std::optional<std::string> SetRecord::make(const std::vector<std::filesystem::path>& temporaries)
{
    // One record in each folder, naming the files of the set that lie there.
    std::vector<std::pair<std::filesystem::path, std::string>> folders;
    for (const auto& temporary : temporaries) {
        const auto folder = file_steps::folder_of(temporary);
        auto at = std::find_if(folders.begin(), folders.end(), [&](const auto& f) { return f.first == folder; });
        if (at == folders.end())
            at = folders.insert(folders.end(), {folder, std::string()});
        const auto name = temporary.filename().u8string();
        at->second.append(name.begin(), name.end());
        at->second.push_back('\0');
    }
    for (const auto& [folder, names] : folders) {
        const auto first = std::find_if(temporaries.begin(), temporaries.end(),
                                        [&](const auto& t) { return file_steps::folder_of(t) == folder; });
        auto final_name = first->filename().native();
        final_name.resize(final_name.size() - parse_own_name(*first).value().suffix_length);
        const auto final_file = first->parent_path() / final_name;
        file_steps::OutputFile out;
        const auto draft = own_name_beside(final_file, OwnFile::temporary);
        auto ec = file_steps::create_exclusive(draft, out);
        if (!ec)
            ec = file_steps::write_all(out, names, draft);
        if (const auto closed = out.close(); !ec)
            ec = closed;
        const auto record = own_name_beside(final_file, OwnFile::set_record);
        if (!ec)
            ec = file_steps::rename(draft, record);
        if (ec) {
            file_steps::remove(draft);
            drop();
            return file_steps::cause("impossibile preparare la sostituzione dei file", ec);
        }
        records_.push_back(record);
    }
    return std::nullopt;
}

void SetRecord::drop() noexcept
{
    for (const auto& record : records_)
        file_steps::remove(record);
    records_.clear();
}

namespace {

struct StaleFile {
    std::filesystem::path file;
    OwnName own;
    std::filesystem::path final_file() const
    {
        auto name = file.filename().native();
        name.resize(name.size() - own.suffix_length);
        return file.parent_path() / name;
    }
};

// The temporary files a set record names: plain names in its own folder,
// each a temporary file of the record's own process.
std::vector<std::filesystem::path> recorded_temporaries(const StaleFile& record)
{
    std::vector<std::filesystem::path> listed;
    std::error_code ec;
    const auto size = std::filesystem::file_size(record.file, ec);
    if (ec || size > largest_set_record)
        return listed;
    std::ifstream in(record.file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return listed;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find('\0', at)) != std::string::npos; at = end + 1) {
        const std::string name = bytes.substr(at, end - at);
        const std::u8string u8(name.begin(), name.end());
        const std::filesystem::path file(u8);
        if (name.empty() || file.has_parent_path() || file.filename() != file)
            continue;
        const auto own = parse_own_name(file);
        if (own && own->kind == OwnFile::temporary && own->process == record.own.process)
            listed.push_back(record.file.parent_path() / file);
    }
    return listed;
}

// Finishes a recorded set: each listed temporary file still there takes its
// final name. Returns whether every one did.
bool finish_set(const std::vector<std::filesystem::path>& listed, std::vector<std::filesystem::path>& handled)
{
    bool whole = true;
    for (const auto& temporary : listed) {
        if (!is_regular_file_itself(temporary))
            continue;
        StaleFile stale{temporary, *parse_own_name(temporary)};
        if (file_steps::rename(temporary, stale.final_file()))
            whole = false;
        else
            handled.push_back(temporary);
    }
    return whole;
}

} // namespace

std::vector<std::filesystem::path> remove_stale_temporaries(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> handled;
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder, ec);
    if (ec)
        return handled;
    std::vector<StaleFile> stale;
    const std::uint32_t self = current_process();
    for (auto it = entries; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        const auto own = parse_own_name(it->path());
        if (own && own->process != self && !process_running(own->process) && is_regular_file_itself(it->path()))
            stale.push_back({it->path(), *own});
    }

    // A set that was recorded had all its new files complete: it is finished,
    // so that it stands all new. Its backups then hold content no set needs.
    std::vector<std::uint32_t> finished;
    std::vector<std::uint32_t> unfinished;
    for (const auto& record : stale) {
        if (record.own.kind != OwnFile::set_record)
            continue;
        if (finish_set(recorded_temporaries(record), handled)) {
            finished.push_back(record.own.process);
        } else {
            unfinished.push_back(record.own.process);
        }
    }
    const auto among = [](const std::vector<std::uint32_t>& v, std::uint32_t p) {
        return std::find(v.begin(), v.end(), p) != v.end();
    };
    std::vector<std::uint32_t> backups_left; // of finished sets, that could not be removed
    for (const auto& file : stale) {
        // A set that could not be finished keeps everything it has until a run can.
        if (file.own.kind == OwnFile::set_record || among(unfinished, file.own.process) ||
            !is_regular_file_itself(file.file))
            continue;
        if (file.own.kind == OwnFile::backup && !among(finished, file.own.process)) {
            // The old content goes back under its name: the run that kept it
            // never finished a set that replaced it.
            const auto target = file.final_file();
            const bool same = same_file(file.file, target);
            if (!same && !file_steps::rename(file.file, target)) {
                handled.push_back(file.file);
                continue;
            }
            if (!same)
                continue;
        }
        if (!file_steps::remove(file.file))
            handled.push_back(file.file);
        else if (file.own.kind == OwnFile::backup)
            backups_left.push_back(file.own.process);
    }
    // The record of a finished set goes last: while it is there, a run
    // stopped before its backups are gone still finds the set whole and
    // removes them, rather than putting them back over the new files.
    for (const auto& record : stale)
        if (record.own.kind == OwnFile::set_record && among(finished, record.own.process) &&
            !among(backups_left, record.own.process) && !file_steps::remove(record.file))
            handled.push_back(record.file);
    if (!handled.empty())
        file_steps::flush_folder(folder);
    return handled;
}

void remove_stale_temporaries_once(const std::filesystem::path& folder)
{
    // Held by a flag rather than a mutex: the Windows build's C++ library has
    // no threads, and two writers in one process are rare and brief.
    static std::atomic_flag busy = ATOMIC_FLAG_INIT;
    static std::vector<std::filesystem::path> cleaned;
    std::error_code ec;
    auto key = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, ec), ec);
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
    struct Release {
        ~Release() { busy.clear(std::memory_order_release); }
    } release;
    if (std::find(cleaned.begin(), cleaned.end(), key) != cleaned.end())
        return;
    cleaned.push_back(std::move(key));
    remove_stale_temporaries(folder);
}

} // namespace tratta
