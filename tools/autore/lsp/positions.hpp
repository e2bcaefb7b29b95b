#pragma once
// Places in a text as the editor counts them and as the compile counts them.
// The editor holds the text as UTF-8 and counts lines from 0 and characters
// in UTF-16 code units (or in UTF-8 bytes when both sides agree on it); the
// compile reads the same text in Windows-1252, one byte a character, and
// counts lines and columns from 1. Both count lines as the compile's reader
// does.

#include "source/line_ends.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace autore::lsp {

enum class Encoding : uint8_t { utf16, utf8 };

// The bytes of the character that starts at i: a whole, well-formed UTF-8
// sequence, else the one byte.
std::size_t char_length(std::string_view utf8, std::size_t i);


// The lines of a text: where each begins, and where it ends before its line end.
class LineIndex {
public:
    LineIndex() = default;
    explicit LineIndex(std::string_view text);

    std::size_t count() const { return lines_.size(); }
    // Line i (from 0) without its line end; empty past the last line.
    std::string_view line(std::string_view text, std::size_t i) const;
    std::size_t start(std::size_t i) const { return i < lines_.size() ? lines_[i].start : size_; }
    std::size_t end(std::size_t i) const { return i < lines_.size() ? lines_[i].end : size_; }

    // The editor's units of the first `chars` characters of line i (the whole
    // line when it has fewer): a column of the compile, less one, in the editor's units.
    uint32_t units_before(std::string_view text, std::size_t i, std::size_t chars, Encoding e) const;
    // The characters of line i that lie wholly before the editor's unit `units`.
    std::size_t chars_before(std::string_view text, std::size_t i, int64_t units, Encoding e) const;

    // The byte offset of an editor's position: a line past the end is the end
    // of the text, a character past the end of its line that line's end, one
    // inside a character that character's start.
    std::size_t offset_of(std::string_view text, int64_t line, int64_t character, Encoding e) const;

private:
    // Along line i up to the editor's unit `units`: the whole characters passed and the offset reached.
    struct Walk {
        std::size_t offset;
        std::size_t chars;
    };
    Walk walk(std::string_view text, std::size_t i, int64_t units, Encoding e) const;

    std::vector<tratta::LineSpan> lines_{tratta::LineSpan{}};
    std::size_t size_ = 0;
};

} // namespace autore::lsp
