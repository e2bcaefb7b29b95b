#include "app/files.hpp"

#include "app/file_checks.hpp"
#include "app/file_names.hpp"
#include "app/file_steps.hpp"
#include "app/own_files.hpp"

#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tratta {

std::string display_path(const std::filesystem::path& file)
{
    const auto u8 = file.u8string();
    return without_control_bytes(std::string(u8.begin(), u8.end()));
}

FileFailure::FileFailure(const std::filesystem::path& file, const std::string& cause)
    : FileFailure(Worded{}, "file " + display_path(file) + ": " + cause, file)
{
}

FileFailure::FileFailure(Worded, const std::string& message, const std::filesystem::path& file)
    : std::runtime_error(message), file_(file)
{
}

FileFailure FileFailure::adding(const std::string& note) const
{
    return FileFailure(Worded{}, std::string(what()) + "; " + note, file_);
}

FileFailure FileFailure::on_folder(const std::filesystem::path& folder, const std::string& cause)
{
    return FileFailure(Worded{}, "cartella " + display_path(folder) + ": " + cause, folder);
}

FileFailure FileFailure::on_standard_output(const std::string& cause)
{
    return FileFailure(Worded{}, "uscita standard: " + cause, "-");
}

namespace {

using file_steps::cause;

// A file with no write permission at all is refused even where the system
// would let the program replace it (an administrator, or a rename over it):
// the author marked it read-only, so it keeps its content.
bool is_read_only(std::filesystem::file_status st)
{
    using std::filesystem::perms;
    return (st.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

// An existing file must be one that could be opened for writing, though it is
// never changed in place: on Windows this also finds a file that another
// program (the simulator) holds open.
void check_replaceable(const std::filesystem::path& file)
{
    std::error_code ec;
    const auto st = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(st))
        return;
    if (is_read_only(st))
        throw FileFailure(file, "impossibile scrivere il file (file in sola lettura)");
#ifdef _WIN32
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw FileFailure(file, cause("impossibile scrivere il file", file_steps::last_system_error()));
    CloseHandle(h);
#else
    const int fd = ::open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw FileFailure(file, cause("impossibile scrivere il file", file_steps::last_system_error()));
    ::close(fd);
#endif
}

} // namespace

void check_can_replace(const std::filesystem::path& file)
{
    if (auto problem = name_length_problem(file))
        throw FileFailure(file, *problem);
    check_output_path(file);
    check_replaceable(file);
}

// The new content goes to a file of its own beside the old one and takes the
// old one's name only once it is complete and on the disk, so a write that
// fails half-way (a full disk, a size limit, the program stopped) leaves the
// old file whole. The final file holds exactly the new content: a longer old
// file leaves nothing behind.
StagedFile::StagedFile(const std::filesystem::path& file, std::string_view bytes, Durability durability)
    : file_(file), durability_(durability)
{
    check_can_replace(file);
    // What this command's own killed earlier runs left beside the file goes first.
    remove_stale_temporaries_once(file_steps::folder_of(file));

    file_steps::OutputFile out;
    for (int attempt = 1;; ++attempt) {
        const auto candidate = own_name_beside(file, OwnFile::temporary);
        // Made and registered before a stop signal may come in between.
        const StopSignalsHeld hold;
        const auto ec = file_steps::create_exclusive(candidate, out);
        if (!ec) {
            temporary_ = candidate;
            on_stop_ = RemovalOnStop(temporary_);
            break;
        }
        if (ec != std::errc::file_exists || attempt == own_name_tries)
            throw FileFailure(file, cause("impossibile creare il file", ec));
    }
    const auto fail = [&](const char* what, std::error_code ec) {
        out.close();
        discard();
        throw FileFailure(file_, cause(what, ec));
    };
    if (const auto ec = file_steps::write_all(out, bytes, temporary_))
        fail("impossibile scrivere il file", ec);
    // A lasting file goes to the disk while the run makes the others; the
    // set waits for it before any rename.
    if (durability_ == Durability::lasting) {
        file_steps::start_flush(out);
        unsettled_ = std::move(out);
        return;
    }
    if (const auto ec = out.close())
        fail("impossibile scrivere il file", ec);
}

std::error_code StagedFile::settle()
{
    if (!unsettled_.is_open())
        return {};
    const auto flushed = file_steps::flush(unsettled_, temporary_);
    const auto closed = unsettled_.close();
    return flushed ? flushed : closed;
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : file_(std::move(other.file_)), temporary_(std::exchange(other.temporary_, {})),
      on_stop_(std::move(other.on_stop_)), durability_(other.durability_), unsettled_(std::move(other.unsettled_))
{
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::discard() noexcept
{
    unsettled_.close();
    if (!temporary_.empty())
        file_steps::remove(temporary_);
    temporary_.clear();
    on_stop_.release();
}

void StagedFile::replace() { replace_together(std::span<StagedFile>(this, 1)); }

void write_file_replacing(const std::filesystem::path& file, std::string_view bytes, Durability durability)
{
    StagedFile(file, bytes, durability).replace();
}

void write_file_replacing(const std::filesystem::path& file, const std::vector<uint8_t>& bytes,
                          Durability durability)
{
    write_file_replacing(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                         durability);
}

bool file_exists(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
}

void delete_file(const std::filesystem::path& file)
{
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec && file_exists(file))
        throw FileFailure(file, "impossibile cancellare il file (" + ec.message() + ")");
}

} // namespace tratta
