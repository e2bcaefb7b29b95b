#include "source/line_ends.hpp"

#include <algorithm>

namespace tratta {

LineSpan line_at(std::string_view bytes, std::size_t start)
{
    LineSpan line;
    line.start = std::min(start, bytes.size());
    line.end = line.start;
    while (line.end < bytes.size() && line_end_length(bytes, line.end) == 0)
        ++line.end;
    line.next = line.end + line_end_length(bytes, line.end);
    return line;
}

std::vector<LineSpan> line_spans(std::string_view bytes)
{
    std::vector<LineSpan> lines;
    std::size_t start = 0;
    for (;;) {
        const LineSpan line = line_at(bytes, start);
        lines.push_back(line);
        if (line.next == line.end)
            return lines; // no line end: the last line
        start = line.next;
    }
}

LineColumn line_column_of(std::string_view bytes, std::size_t offset)
{
    offset = std::min(offset, bytes.size());
    LineColumn at;
    std::size_t start = 0;
    for (std::size_t i = 0; i < offset;) {
        const std::size_t end = line_end_length(bytes, i);
        if (end == 0) {
            ++i;
            continue;
        }
        // A byte inside a CR LF stands on the line that the pair ends.
        if (i + end > offset)
            break;
        i += end;
        ++at.line;
        start = i;
    }
    at.column = static_cast<int32_t>(offset - start) + 1;
    return at;
}

std::vector<std::size_t> line_offsets(std::string_view bytes, const std::vector<int32_t>& lines)
{
    std::vector<std::size_t> offsets;
    offsets.reserve(lines.size());
    int32_t line = 1;
    std::size_t i = 0;
    for (const int32_t wanted : lines) {
        while (line < wanted && i < bytes.size()) {
            const std::size_t end = line_end_length(bytes, i);
            i += end == 0 ? 1 : end;
            if (end != 0)
                ++line;
        }
        offsets.push_back(line < wanted ? bytes.size() : i);
    }
    return offsets;
}

} // namespace tratta
