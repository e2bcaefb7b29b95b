#include "autore/decompile/source_columns.hpp"

#include <algorithm>

namespace autore {

void SourceColumns::add(std::string key, const std::vector<int64_t>& numbers, std::string text, bool has_text)
{
    Row row{std::move(key), {}, std::move(text), has_text};
    for (const int64_t n : numbers)
        row.numbers.push_back(std::to_string(n));
    rows_.push_back(std::move(row));
}

void SourceColumns::add_fields(std::string key, std::vector<std::string> numbers)
{
    rows_.push_back(Row{std::move(key), std::move(numbers), {}, false});
}

void SourceColumns::write(std::string& out, const std::string& header) const
{
    if (rows_.empty())
        return;
    std::size_t key_width = 0;
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
        key_width = std::max(key_width, row.key.size());
        if (widths.size() < row.numbers.size())
            widths.resize(row.numbers.size(), 0);
        for (std::size_t i = 0; i < row.numbers.size(); ++i)
            widths[i] = std::max(widths[i], row.numbers[i].size());
    }
    out += header;
    out += "\r\n";
    for (const auto& row : rows_) {
        out += row.key;
        out += ',';
        // The first number stands two blanks after the longest key's comma.
        std::size_t pad = key_width - row.key.size() + 2;
        for (std::size_t i = 0; i < row.numbers.size(); ++i) {
            out.append(pad + widths[i] - row.numbers[i].size(), ' ');
            out += row.numbers[i];
            if (i + 1 < row.numbers.size() || row.has_text)
                out += ',';
            pad = 2;
        }
        if (row.has_text) {
            out.append(row.numbers.empty() ? pad : 1, ' ');
            out += row.text;
        }
        out += "\r\n";
    }
}

bool text_field(const std::string& text, std::string& field)
{
    if (text.find_first_of("\r\n") != std::string::npos)
        return false;
    const bool blank_edge = !text.empty() && (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' ||
                                              text.back() == '\t');
    const bool needs_quotes = blank_edge || text.find(',') != std::string::npos || text.starts_with('"');
    if (!needs_quotes) {
        field = text;
        return true;
    }
    // Within quotes a field keeps its blanks and commas, but cannot hold a
    // quote of its own; nor does the reader trim what stands inside them.
    if (text.find('"') != std::string::npos)
        return false;
    field = "\"" + text + "\"";
    return true;
}

} // namespace autore
