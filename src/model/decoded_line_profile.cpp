#include "model/decoded_line_profile.hpp"

#include <stdexcept>

namespace tratta {

void DecodedLineProfile::create(int64_t line_end_m)
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

std::size_t DecodedLineProfile::slot(int64_t m) const
{
    if (!contains(m))
        throw std::out_of_range("metro fuori dalla tabella della linea");
    return static_cast<std::size_t>(m);
}

std::size_t DecodedLineProfile::coordinate(int r)
{
    if (r < 0 || r > 1)
        throw std::out_of_range("coordinata fuori dalla tabella della linea");
    return static_cast<std::size_t>(r);
}

void DecodedLineProfile::store(int64_t m, int r, double v, ProfileTag t)
{
    const std::size_t c = coordinate(r);
    const std::size_t i = slot(m);
    value_[c][i] = v;
    tag_[c][i] = t;
}

} // namespace tratta
