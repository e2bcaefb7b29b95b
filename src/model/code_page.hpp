#pragma once
// The single-byte code page of every text the system reads or writes:
// Windows-1252 on every platform. Source files, board texts, station names and
// the driver's documents are kept as these bytes end to end.

#include <array>
#include <string>
#include <string_view>

namespace tratta {

// UTF-8 text to Windows-1252 bytes, one byte a character; a character the
// code page lacks, and each byte of a broken sequence, becomes "?".
std::string utf8_to_cp1252(std::string_view utf8);
// The same, added at the end of `out`.
void append_utf8_as_cp1252(std::string& out, std::string_view utf8);

// The length of the well-formed UTF-8 sequence that begins at byte `i` (no
// overlong form, no surrogate, nothing beyond U+10FFFF; 1 for ASCII), or 0
// when none begins there. Every reader of UTF-8 in the system stands on it.
std::size_t utf8_sequence_length(std::string_view utf8, std::size_t i);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+FFFD).
std::string cp1252_to_utf8(std::string_view bytes);

// Text of a source shown to a person (a diagnostic, the editor, the route
// page): Windows-1252 bytes to UTF-8, and a byte that shows no character (a
// control byte, one of the five unassigned ones) written visibly as \xNN.
std::string cp1252_shown(std::string_view bytes);

// Bytes meant as UTF-8 (a path as the file system holds it, a message) shown
// to a person: well-formed UTF-8 stays as it is, and each byte of a broken
// sequence and each control byte is written visibly as \xNN. The result is
// always well-formed UTF-8.
std::string utf8_shown(std::string_view bytes);

// Windows-1252 bytes to UTF-16, for file names on Windows.
std::wstring cp1252_to_wide(std::string_view bytes);

// Lower case as the check codes see it: A-Z and the Windows-1252 capitals.
// Each byte's lower-case form.
extern const std::array<unsigned char, 256> cp1252_lower_case;
inline char lower_cp1252(char c)
{
    return static_cast<char>(cp1252_lower_case[static_cast<unsigned char>(c)]);
}
std::string lower_cp1252(std::string_view bytes);

} // namespace tratta
