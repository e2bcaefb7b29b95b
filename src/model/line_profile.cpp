#include "model/line_profile.hpp"

#include <stdexcept>

namespace tratta {

void LineProfile::create(int64_t line_end_m)
{
    if (line_end_m < 0)
        throw std::invalid_argument("fine linea negativa");
    last_m_ = line_end_m;
    const auto n = static_cast<std::size_t>(line_end_m) + 1;
    for (int r = 0; r < 2; ++r) {
        value_[r].assign(n, 0.0);
        tag_[r].assign(n, ProfileTag::empty);
    }
}

void LineProfile::destroy()
{
    last_m_ = -1;
    for (int r = 0; r < 2; ++r) {
        value_[r].clear();
        value_[r].shrink_to_fit();
        tag_[r].clear();
        tag_[r].shrink_to_fit();
    }
}

void LineProfile::throw_outside(const char* what) { throw std::out_of_range(what); }

namespace {

// Bytes of one element in the file, by its tag: the 2-byte tag and the value.
constexpr uint8_t element_bytes[] = {2, 0, 4, 0, 0, 10};
static_assert(element_bytes[static_cast<int>(ProfileTag::empty)] == 2 &&
              element_bytes[static_cast<int>(ProfileTag::int16)] == 4 &&
              element_bytes[static_cast<int>(ProfileTag::real)] == 10);

} // namespace

std::size_t encoded_line_profile_size(const LineProfile& table)
{
    std::size_t total = 0;
    for (int r = 0; r < 2; ++r)
        for (const ProfileTag t : table.tags(r))
            total += element_bytes[static_cast<uint8_t>(t)];
    return total;
}

void encode_line_profile(const LineProfile& table, ByteBuffer& out)
{
    if (!table.exists())
        return;
    // All x elements, then all y elements, each a tag and the value it names.
    BlockWriter block = out.append_block(encoded_line_profile_size(table));
    for (int r = 0; r < 2; ++r) {
        const auto tags = table.tags(r);
        const auto values = table.values(r);
        for (std::size_t m = 0; m < tags.size(); ++m) {
            block.put_u16(static_cast<uint16_t>(tags[m]));
            if (tags[m] == ProfileTag::int16)
                block.put_i16(static_cast<int16_t>(values[m]));
            else if (tags[m] == ProfileTag::real)
                block.put_f64(values[m]);
        }
    }
}

} // namespace tratta
