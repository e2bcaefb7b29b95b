#include "app/files.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

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

std::string system_cause(const char* what)
{
    const int e = errno;
    return std::string(what) + (e != 0 ? std::string(" (") + std::strerror(e) + ")" : std::string());
}

void empty_file(const std::filesystem::path& file)
{
    errno = 0;
    {
        // Open for binary access without truncating: creates the file when missing.
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary | std::ios::app);
        if (!f.is_open())
            throw FileFailure(file, system_cause("impossibile creare il file"));
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec)
        throw FileFailure(file, "impossibile cancellare il file (" + ec.message() + ")");
}

} // namespace

void write_file_emptied(const std::filesystem::path& file, std::string_view bytes)
{
    empty_file(file);
    errno = 0;
    std::ofstream out(file, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        throw FileFailure(file, system_cause("impossibile creare il file"));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.fail())
        throw FileFailure(file, system_cause("impossibile scrivere il file"));
}

void write_file_emptied(const std::filesystem::path& file, const std::vector<uint8_t>& bytes)
{
    write_file_emptied(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
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
