#include "autore/driver_documents/form_line.hpp"

namespace autore {

namespace {

void put_at(std::string& line, std::size_t first, std::size_t last, std::size_t from, std::string_view text,
            Overflow overflow)
{
    if (first < 1 || last < first || last > line.size())
        return;
    const std::size_t width = last - first + 1;
    if (text.size() > width || from < first || from + text.size() - 1 > last) {
        if (overflow == Overflow::hash) {
            line.replace(first - 1, width, width, '#');
            return;
        }
        text = text.substr(0, width);
        from = first;
    }
    line.replace(from - 1, text.size(), text);
}

} // namespace

std::string ruled_line(std::size_t width, const std::vector<std::size_t>& bars, char fill)
{
    std::string line(width, fill);
    if (width > 0)
        line[0] = ' ';
    for (const std::size_t b : bars)
        if (b >= 1 && b <= width)
            line[b - 1] = '|';
    return line;
}

void put_left(std::string& line, std::size_t first, std::size_t last, std::string_view text, Overflow overflow)
{
    put_at(line, first, last, first, text, overflow);
}

void put_right(std::string& line, std::size_t first, std::size_t last, std::string_view text)
{
    const std::size_t from = text.size() <= last ? last + 1 - text.size() : 0;
    put_at(line, first, last, from, text, Overflow::hash);
}

void put_centred(std::string& line, std::size_t first, std::size_t last, std::string_view text)
{
    const std::size_t width = last >= first ? last - first + 1 : 0;
    const std::size_t from = text.size() <= width ? first + (width - text.size()) / 2 : first;
    put_at(line, first, last, from, text, Overflow::hash);
}

std::string document_bytes(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace autore
