#pragma once
// The editor names documents by URI. A "file:" URI names a file on disk,
// whose folder may hold the other file of the scenario; any other URI (an
// unsaved buffer) stands alone.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace autore::lsp {

// The file a "file:" URI names, its escapes undone; none for any other URI.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);

// The "file:" URI of a file, with the bytes a URI may not hold escaped.
std::string uri_of_path(const std::filesystem::path& file);

// The last part of a URI's path, its escapes undone: the file's name.
std::string name_of_uri(std::string_view uri);

} // namespace autore::lsp
