#pragma once
// The lines of a driver's document as the text writer produces them: the bytes
// are split at CR LF, and a CR or LF anywhere else is a fault of the document.

#include "scenario/data_set.hpp"
#include "scenario/text_writer.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tratta::testing {

// Splits a text file's bytes into lines; every line must end with CR LF and
// no CR or LF may stand alone.
inline std::vector<std::string> crlf_split(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t cr = bytes.find("\r\n", start);
        EXPECT_NE(cr, std::string::npos) << "the last line has no CR LF";
        if (cr == std::string::npos)
            break;
        std::string line = bytes.substr(start, cr - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray CR or LF in line "
                                                                   << lines.size() + 1;
        lines.push_back(std::move(line));
        start = cr + 2;
    }
    return lines;
}

// The lines of the file a data set makes.
inline std::vector<std::string> written_lines(DataSet data) { return crlf_split(encode_data_set(data)); }

// Positions (counted from 1) of the vertical bars of a table line.
inline std::vector<std::size_t> bar_positions(const std::string& line)
{
    std::vector<std::size_t> bars;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '|')
            bars.push_back(i + 1);
    return bars;
}

// The text at positions [first, last] (counted from 1) of a line.
inline std::string columns(const std::string& line, std::size_t first, std::size_t last)
{
    if (first < 1 || first > line.size())
        return {};
    return line.substr(first - 1, last - first + 1);
}

// The comma-separated fields of a line of the line or train file, blanks trimmed.
inline std::vector<std::string> fields_of(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        const std::string_view field =
            line.substr(start, comma == std::string_view::npos ? comma : comma - start);
        const auto first = field.find_first_not_of(' ');
        const auto last = field.find_last_not_of(' ');
        fields.emplace_back(first == std::string_view::npos ? std::string_view{}
                                                             : field.substr(first, last - first + 1));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

inline bool is_ascii(const std::string& line)
{
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace tratta::testing
