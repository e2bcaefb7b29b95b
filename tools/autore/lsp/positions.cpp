#include "autore/lsp/positions.hpp"

#include "model/code_page.hpp"

#include <algorithm>

namespace autore::lsp {

namespace {

// The editor's units of the character at i: a character beyond the
// 16-bit plane is two UTF-16 units; in UTF-8 every byte is a unit.
uint32_t units_of(std::size_t length, Encoding e)
{
    if (e == Encoding::utf8)
        return static_cast<uint32_t>(length);
    return length == 4 ? 2 : 1;
}

} // namespace

std::size_t char_length(std::string_view t, std::size_t i)
{
    return std::max<std::size_t>(tratta::utf8_sequence_length(t, i), 1);
}

// CR and LF are the same bytes in UTF-8 and in Windows-1252: the editor's
// lines are the compile's lines.
LineIndex::LineIndex(std::string_view text) : lines_(tratta::line_spans(text)), size_(text.size()) {}

std::string_view LineIndex::line(std::string_view text, std::size_t i) const
{
    if (i >= lines_.size())
        return {};
    return lines_[i].text_of(text);
}

uint32_t LineIndex::units_before(std::string_view text, std::size_t i, std::size_t chars, Encoding e) const
{
    uint32_t units = 0;
    for (std::size_t at = start(i), n = 0; at < end(i) && n < chars; ++n) {
        const std::size_t length = std::min(char_length(text, at), end(i) - at);
        units += units_of(length, e);
        at += length;
    }
    return units;
}

LineIndex::Walk LineIndex::walk(std::string_view text, std::size_t i, int64_t units, Encoding e) const
{
    Walk w{start(i), 0};
    int64_t seen = 0;
    while (w.offset < end(i)) {
        const std::size_t length = std::min(char_length(text, w.offset), end(i) - w.offset);
        seen += units_of(length, e);
        if (seen > units)
            break;
        w.offset += length;
        ++w.chars;
    }
    return w;
}

std::size_t LineIndex::chars_before(std::string_view text, std::size_t i, int64_t units, Encoding e) const
{
    return walk(text, i, units, e).chars;
}

std::size_t LineIndex::offset_of(std::string_view text, int64_t line, int64_t character, Encoding e) const
{
    if (line < 0)
        return 0;
    const auto i = static_cast<std::size_t>(line);
    if (i >= lines_.size())
        return size_;
    return walk(text, i, character, e).offset;
}

} // namespace autore::lsp
