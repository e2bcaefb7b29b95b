#pragma once
// Where the lines of a source end, counted once for every reader of it: the
// compile's field reader, the check, the language server and the route page.
// A line ends at CR LF, at a lone LF or at a lone CR; nothing else (a NUL, a
// quote left open) ends a line.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tratta {

// The bytes the line end at `i` takes (2 for CR LF, 1 for a lone CR or LF),
// 0 where `i` holds none.
inline std::size_t line_end_length(std::string_view bytes, std::size_t i)
{
    if (i >= bytes.size())
        return 0;
    if (bytes[i] == '\r')
        return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
    return bytes[i] == '\n' ? 1 : 0;
}

// One line of a source, as byte offsets: where it begins, where its text
// ends (at its line end, or at the end of the source) and where the next
// line begins.
struct LineSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t next = 0;

    std::string_view text_of(std::string_view bytes) const { return bytes.substr(start, end - start); }
};

// The line that begins at `start`.
LineSpan line_at(std::string_view bytes, std::size_t start);

// Every line of a source, the first one numbered 1. A source that ends with a
// line end has one more, empty line after it (the line an editor shows there);
// an empty source is one empty line.
std::vector<LineSpan> line_spans(std::string_view bytes);

// The line (from 1) and the column (from 1, in bytes) of the byte at `offset`.
struct LineColumn {
    int32_t line = 1;
    int32_t column = 1;
};
LineColumn line_column_of(std::string_view bytes, std::size_t offset);

// The byte where each of the given lines (1-based, in increasing order)
// begins, in one pass over the source; a line past the last one begins at
// the end of the source.
std::vector<std::size_t> line_offsets(std::string_view bytes, const std::vector<int32_t>& lines);

} // namespace tratta
