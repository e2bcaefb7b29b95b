#pragma once
// The lines of a printed railway form drawn in plain text: ruled lines with
// vertical bars at fixed positions, and fields written into them. Positions
// count from 1 at the start of the line; one byte is one character (the
// documents are Windows-1252).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace autore {

// A line of `width` characters: a blank first, then `fill`, with a bar at
// each of the positions.
std::string ruled_line(std::size_t width, const std::vector<std::size_t>& bars, char fill = ' ');

// A name that does not fit its field is cut; a figure that does not fit is
// shown as "#" across the field, never as a wrong figure.
enum class Overflow { cut, hash };

// Writes text from position `first`, within the field [first, last].
void put_left(std::string& line, std::size_t first, std::size_t last, std::string_view text,
              Overflow overflow = Overflow::hash);

// Writes text so that it ends at position `last`, within the field [first, last].
void put_right(std::string& line, std::size_t first, std::size_t last, std::string_view text);

// Writes text centred in the field [first, last], an odd blank to the right.
void put_centred(std::string& line, std::size_t first, std::size_t last, std::string_view text);

// Document lines as a file: each followed by CR LF.
std::string document_bytes(const std::vector<std::string>& lines);

} // namespace autore
