#include "scenario/text_writer.hpp"

#include "model/code_page.hpp"

namespace tratta {

std::string encode_data_set(DataSet lines)
{
    const std::size_t n = lines.size() < data_set_capacity ? lines.size() : data_set_capacity;
    std::size_t room = 0;
    for (std::size_t i = 0; i < n; ++i)
        room += lines[i].size() + 2;
    std::string out;
    out.reserve(room);
    for (std::size_t i = 0; i < n; ++i) {
        if (lines[i] == end_marker)
            break;
        append_utf8_as_cp1252(out, lines[i]);
        out += "\r\n";
    }
    return out;
}

} // namespace tratta
