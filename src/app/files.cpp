#include "app/files.hpp"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

namespace tratta {

std::string display_path(const std::filesystem::path& file)
{
    const auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

FileFailure::FileFailure(const std::filesystem::path& file, const std::string& cause)
    : std::runtime_error("file " + display_path(file) + ": " + cause), file_(file)
{
}

namespace {

std::string system_cause(const char* what, int e)
{
    return std::string(what) + (e != 0 ? std::string(" (") + std::strerror(e) + ")" : std::string());
}

std::string system_cause(const char* what) { return system_cause(what, errno); }

// A file with no write permission at all is refused even where the system
// would let the program replace it (an administrator, or a rename over it):
// the author marked it read-only, so it keeps its content.
bool is_read_only(std::filesystem::file_status st)
{
    using std::filesystem::perms;
    return (st.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

// An existing file of the name must be one that could be opened for writing.
void check_replaceable(const std::filesystem::path& file)
{
    std::error_code ec;
    const auto st = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(st)) {
        if (ec && ec != std::errc::no_such_file_or_directory)
            throw FileFailure(file, "impossibile creare il file (" + ec.message() + ")");
        return;
    }
    if (std::filesystem::is_directory(st))
        throw FileFailure(file, "impossibile creare il file (al suo posto c'è una cartella)");
    if (is_read_only(st))
        throw FileFailure(file, "impossibile scrivere il file (file in sola lettura)");
    errno = 0;
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary | std::ios::app);
    if (!f.is_open())
        throw FileFailure(file, system_cause("impossibile scrivere il file"));
}

// A name beside the file, unique to this write, for the new content until it
// is complete.
std::filesystem::path temporary_beside(const std::filesystem::path& file)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned run = std::random_device{}();
    auto name = file.filename();
    name += ".tmp" + std::to_string(run) + "-" + std::to_string(counter++);
    return file.parent_path() / name;
}

} // namespace

// The new content goes to a file of its own beside the old one and takes the
// old one's name only once it is complete, so a write that fails half-way (a
// full disk, a size limit, the program stopped) leaves the old file whole. The
// final file holds exactly the new content: a longer old file leaves nothing
// behind.
StagedFile::StagedFile(const std::filesystem::path& file, std::string_view bytes) : file_(file)
{
    check_replaceable(file);
    temporary_ = temporary_beside(file);
    errno = 0;
    std::ofstream out(temporary_, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        const int open_errno = errno;
        temporary_.clear(); // nothing was made
        throw FileFailure(file, system_cause("impossibile creare il file", open_errno));
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const int write_errno = errno;
    bool written = static_cast<bool>(out);
    out.close();
    const int close_errno = errno;
    written = written && !out.fail();
    if (!written) {
        discard();
        throw FileFailure(file, system_cause("impossibile scrivere il file", write_errno ? write_errno : close_errno));
    }
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : file_(std::move(other.file_)), temporary_(std::exchange(other.temporary_, {}))
{
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::discard() noexcept
{
    if (temporary_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    temporary_.clear();
}

// Replaces the old file in one step (MoveFileExW with replacement on Windows).
void StagedFile::replace()
{
    std::error_code ec;
    std::filesystem::rename(temporary_, file_, ec);
    if (ec)
        throw FileFailure(file_, "impossibile sostituire il file (" + ec.message() + ")");
    temporary_.clear();
}

void replace_together(std::span<StagedFile> files)
{
    for (auto& file : files)
        file.replace();
}

void write_file_replacing(const std::filesystem::path& file, std::string_view bytes)
{
    StagedFile(file, bytes).replace();
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

std::string read_file(const std::filesystem::path& file)
{
    errno = 0;
    std::ifstream in(file, std::ios::in | std::ios::binary);
    if (!in.is_open())
        throw FileFailure(file, system_cause("impossibile aprire il file"));
    std::string content;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size > 0) {
        content.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(content.data(), size);
    }
    if (in.bad())
        throw FileFailure(file, system_cause("impossibile leggere il file"));
    return content;
}

} // namespace tratta
