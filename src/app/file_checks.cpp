#include "app/file_checks.hpp"

#include "app/file_steps.hpp"
#include "app/files.hpp"
#include "app/own_files.hpp"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/stat.h>
#endif

namespace tratta {

namespace {

constexpr const char* symbolic_link =
    "è un collegamento simbolico: un file da scrivere deve essere un file normale, e non si scrive attraverso un "
    "collegamento, nemmeno verso un file normale";

std::string not_regular(const char* what) { return std::string(what) + ", non un file normale"; }

#ifdef _WIN32

const char* what_stands_there(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "è una cartella";
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return "è un dispositivo";
    return nullptr;
}

#else

const char* what_stands_there(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return "è una cartella";
    if (S_ISFIFO(mode))
        return "è una pipe con nome";
    if (S_ISCHR(mode))
        return "è un dispositivo a caratteri";
    if (S_ISBLK(mode))
        return "è un dispositivo a blocchi";
    if (S_ISSOCK(mode))
        return "è un socket";
    if (S_ISLNK(mode))
        return "è un collegamento simbolico";
    return "è un file di tipo speciale";
}

#endif

} // namespace

#ifdef _WIN32

void check_output_path(const std::filesystem::path& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const auto ec = file_steps::last_system_error();
        if (ec == std::errc::no_such_file_or_directory)
            return;
        throw FileFailure(file, file_steps::cause("impossibile creare il file", ec));
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        throw FileFailure(file, std::string("impossibile scrivere il file (") + symbolic_link + ")");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        throw FileFailure(file, "impossibile creare il file (al suo posto c'è una cartella)");
    if (const char* what = what_stands_there(attributes))
        throw FileFailure(file, "impossibile scrivere il file (" + not_regular(what) + ")");
}

std::optional<std::string> what_stands_instead(const std::filesystem::path& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    if (const char* what = what_stands_there(attributes))
        return what;
    return std::nullopt;
}

void check_input_path(const std::filesystem::path& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw FileFailure(file, file_steps::cause("impossibile aprire il file", file_steps::last_system_error()));
    if (const char* what = what_stands_there(attributes))
        throw FileFailure(file, "impossibile leggere il file (" + not_regular(what) + ")");
}

#else

void check_output_path(const std::filesystem::path& file)
{
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return;
        throw FileFailure(file, file_steps::cause("impossibile creare il file", file_steps::last_system_error()));
    }
    if (S_ISLNK(st.st_mode))
        throw FileFailure(file, std::string("impossibile scrivere il file (") + symbolic_link + ")");
    if (S_ISDIR(st.st_mode))
        throw FileFailure(file, "impossibile creare il file (al suo posto c'è una cartella)");
    if (const char* what = what_stands_there(st.st_mode))
        throw FileFailure(file, "impossibile scrivere il file (" + not_regular(what) + ")");
}

std::optional<std::string> what_stands_instead(const std::filesystem::path& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return std::nullopt;
    if (const char* what = what_stands_there(st.st_mode))
        return what;
    return std::nullopt;
}

void check_input_path(const std::filesystem::path& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        throw FileFailure(file, file_steps::cause("impossibile aprire il file", file_steps::last_system_error()));
    if (const char* what = what_stands_there(st.st_mode))
        throw FileFailure(file, "impossibile leggere il file (" + not_regular(what) + ")");
}

#endif

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return same && !ec;
}

std::optional<std::string> name_length_problem(const std::filesystem::path& file)
{
    const std::size_t length = file.filename().native().size();
    if (length + own_suffix_longest <= longest_file_name)
        return std::nullopt;
#ifdef _WIN32
    const char* unit = "caratteri";
#else
    const char* unit = "byte";
#endif
    return "il nome del file \"" + display_path(file.filename()) + "\" è troppo lungo: " + std::to_string(length) +
           " " + unit + ", e con i " + std::to_string(own_suffix_longest) +
           " che si aggiungono per i file temporanei supera il limite di " + std::to_string(longest_file_name) +
           " (al massimo " + std::to_string(longest_file_name - own_suffix_longest) + ")";
}

} // namespace tratta
