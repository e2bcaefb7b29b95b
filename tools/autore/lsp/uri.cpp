#include "autore/lsp/uri.hpp"

#include "app/files.hpp"
#include "autore/diagnostics/report_formats.hpp"
#include "autore/scenario_files/input_files.hpp"

namespace autore::lsp {

namespace {

constexpr std::string_view file_scheme = "file://";

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%20" back to its byte; a "%" that starts no escape stays as it is.
std::string unescaped(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = hex_value(s[i + 1]);
            const int lo = hex_value(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

// A URI without its query and fragment.
std::string_view without_suffix(std::string_view uri)
{
    const std::size_t cut = uri.find_first_of("?#");
    return cut == std::string_view::npos ? uri : uri.substr(0, cut);
}

} // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri)
{
    uri = without_suffix(uri);
    if (uri.size() < file_scheme.size())
        return std::nullopt;
    for (std::size_t i = 0; i < file_scheme.size(); ++i)
        if ((uri[i] >= 'A' && uri[i] <= 'Z' ? static_cast<char>(uri[i] + 32) : uri[i]) != file_scheme[i])
            return std::nullopt;
    std::string_view rest = uri.substr(file_scheme.size());
    // The authority: empty or "localhost" for a file of this machine.
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return std::nullopt;
    std::string path = unescaped(rest.substr(slash));
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
#ifdef _WIN32
    // "file:///C:/Scenari/..." names the drive after the third slash.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
#endif
    return path_from_utf8(path);
}

std::string uri_of_path(const std::filesystem::path& file)
{
    const std::u8string generic = file.generic_u8string();
    std::string path(generic.begin(), generic.end());
    // A Windows path begins with its drive: "C:/..." is "file:///C:/...".
    if (!path.starts_with('/'))
        path.insert(0, 1, '/');
    return std::string(file_scheme) + uri_reference(path);
}

std::string name_of_uri(std::string_view uri)
{
    uri = without_suffix(uri);
    const std::size_t slash = uri.find_last_of('/');
    return unescaped(slash == std::string_view::npos ? uri : uri.substr(slash + 1));
}

} // namespace autore::lsp
