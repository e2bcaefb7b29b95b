#pragma once
// The files and folders named on the command line, checked before anything
// is read: a path that is missing, a folder where a file goes, something that
// is not a plain file, or a file that cannot be opened gets one line naming
// the path and what is wrong with it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace autore {

// A path from UTF-8 text, as the command line gives every path. On Windows a
// path made from a plain string would read its bytes in the ANSI code page.
std::filesystem::path path_from_utf8(std::string_view utf8);

// "«Valle_linea.txt»": a path quoted in a message.
std::string quoted_path(const std::filesystem::path& path);

// Why the path cannot be read as a file, or nothing when it is a plain file
// that opens for reading.
std::optional<std::string> input_file_problem(const std::filesystem::path& file);

// Reads the whole file in one go: one look at the path, one opening, and the
// file checked once more as opened. Its bytes, or why it cannot be read,
// worded as input_file_problem words it (the path looked at again only then).
std::optional<std::string> read_input_file(const std::filesystem::path& file, std::string& bytes);

// Why the path is not a folder to read, or nothing when it is one.
std::optional<std::string> input_folder_problem(const std::filesystem::path& folder);

} // namespace autore
