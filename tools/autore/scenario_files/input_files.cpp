#include "autore/scenario_files/input_files.hpp"

#include "app/file_checks.hpp"
#include "app/files.hpp"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;

fs::path path_from_utf8(std::string_view utf8)
{
    const std::u8string text(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size());
    return fs::path(text);
}

std::string quoted_path(const fs::path& path) { return "«" + tratta::display_path(path) + "»"; }

namespace {

// What is there, or why nothing is.
std::optional<std::string> absence(const fs::path& path, const fs::file_status& st, const std::error_code& ec)
{
    if (fs::exists(st))
        return std::nullopt;
    if (ec == std::errc::not_a_directory)
        return quoted_path(path) + " non esiste: una parte del percorso è un file, non una cartella";
    if (ec == std::errc::permission_denied)
        return quoted_path(path) + " non si raggiunge: permesso negato su una delle cartelle";
    return quoted_path(path) + " non esiste";
}

} // namespace

std::optional<std::string> input_file_problem(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (auto problem = absence(file, st, ec))
        return problem;
    if (fs::is_directory(st))
        return quoted_path(file) + " è una cartella, non un file normale";
    if (!fs::is_regular_file(st))
        return quoted_path(file) + " non è un file normale: " +
               tratta::what_stands_instead(file).value_or("è un file di tipo speciale");
    errno = 0;
    std::ifstream in(file, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return quoted_path(file) + (errno == EACCES || errno == EPERM ? " non si può leggere: permesso negato"
                                                                      : " non si può leggere");
    return std::nullopt;
}

std::optional<std::string> read_input_file(const fs::path& file, std::string& bytes)
{
    try {
        bytes = tratta::read_file(file);
        return std::nullopt;
    } catch (const tratta::FileFailure& failure) {
        bytes.clear();
        if (auto problem = input_file_problem(file))
            return problem;
        return failure.what();
    }
}

std::optional<std::string> input_folder_problem(const fs::path& folder)
{
    std::error_code ec;
    const fs::file_status st = fs::status(folder, ec);
    if (auto problem = absence(folder, st, ec))
        return problem;
    if (!fs::is_directory(st))
        return quoted_path(folder) + " non è una cartella";
    [[maybe_unused]] const fs::directory_iterator listing(folder, ec);
    if (ec)
        return quoted_path(folder) + (ec == std::errc::permission_denied ? " non si può leggere: permesso negato"
                                                                         : " non si può leggere");
    return std::nullopt;
}

} // namespace autore
