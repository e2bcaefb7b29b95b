#include "scenario/text_writer.hpp"

#include "model/code_page.hpp"

namespace tratta {

std::string encode_data_set(DataSet lines)
{
    std::string out;
    const std::size_t n = lines.size() < data_set_capacity ? lines.size() : data_set_capacity;
    for (std::size_t i = 0; i < n; ++i) {
        if (lines[i] == end_marker)
            break;
        out += utf8_to_cp1252(lines[i]);
        out += "\r\n";
    }
    return out;
}

} // namespace tratta
