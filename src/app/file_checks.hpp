#pragma once
// What a path must be before the program reads or writes it: an output is a
// regular file or nothing yet, an input a regular file (never a fifo to wait
// on, a device or a folder), an output is never one of the inputs, and every
// name the writer will form from it fits the file system.

#include <filesystem>
#include <optional>
#include <string>

namespace tratta {

// Refuses, with a FileFailure naming the path, an output that exists as
// anything but a regular file: a folder, a fifo, a device, a socket, or a
// symbolic link (not followed, and refused even when it leads to a regular
// file: the program replaces files, it does not write through links). A path
// that does not exist yet is accepted.
void check_output_path(const std::filesystem::path& file);

// Refuses, with a FileFailure naming the path, an input that is missing or is
// not a regular file (a link to a regular file is followed and accepted).
// Only looks: read_file checks the file it opened once more.
void check_input_path(const std::filesystem::path& file);

// What stands at the path when it is there but is not a regular file, links
// followed ("è una pipe con nome", "è una cartella", ...); nothing for a
// regular file or a path where nothing is.
std::optional<std::string> what_stands_instead(const std::filesystem::path& file);

// Whether both paths exist and are the same file (through links, hard links
// or different spellings of the path).
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

// The longest file name the file system takes: 255 bytes on Linux, 255
// UTF-16 units on Windows.
inline constexpr std::size_t longest_file_name = 255;

// Why the file's name is too long for the writer, or nothing: the name with
// the longest suffix of the writer's temporary and backup files must fit.
std::optional<std::string> name_length_problem(const std::filesystem::path& file);

} // namespace tratta
