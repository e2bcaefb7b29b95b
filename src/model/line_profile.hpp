#pragma once
// The plan of the track, one point per metre from 0 to L + 7000: x and y of
// the track at every metre. Each element carries its own tag (empty, 16-bit
// whole number or 64-bit real) because the simulator reads it back that way.
// The "_linea.dat" file holds all x elements, then all y elements.

#include "model/byte_buffer.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace tratta {

enum class ProfileTag : uint8_t { empty = 0, int16 = 2, real = 5 };

class LineProfile {
public:
    // Sizes the table to metres 0..line_end_m and both coordinates, all empty.
    void create(int64_t line_end_m);
    void destroy();

    bool exists() const { return last_m_ >= 0; }
    int64_t last_m() const { return last_m_; } // G = L + 7000
    bool contains(int64_t m) const { return exists() && m >= 0 && m <= last_m_; }

    // Bounds-checked: a metre outside 0..G or r outside 0..1 throws std::out_of_range.
    // Defined here so that the metre-by-metre walk of the track plan stores
    // its points without a call per point.
    void set_int16(int64_t m, int r, int16_t v) { store(m, r, v, ProfileTag::int16); }
    void set_real(int64_t m, int r, double v) { store(m, r, v, ProfileTag::real); }
    double get(int64_t m, int r) const { return value_[coordinate(r)][slot(m)]; } // empty reads as 0
    ProfileTag tag(int64_t m, int r) const { return tag_[coordinate(r)][slot(m)]; }

    // One coordinate for every metre 0..G, for the file writer; r is 0 or 1.
    std::span<const double> values(int r) const { return value_[coordinate(r)]; }
    std::span<const ProfileTag> tags(int r) const { return tag_[coordinate(r)]; }

private:
    std::size_t slot(int64_t m) const
    {
        if (!contains(m))
            throw_outside("metro fuori dalla tabella della linea");
        return static_cast<std::size_t>(m);
    }
    static std::size_t coordinate(int r)
    {
        if (r < 0 || r > 1)
            throw_outside("coordinata fuori dalla tabella della linea");
        return static_cast<std::size_t>(r);
    }
    void store(int64_t m, int r, double v, ProfileTag t)
    {
        const std::size_t c = coordinate(r);
        const std::size_t i = slot(m);
        value_[c][i] = v;
        tag_[c][i] = t;
    }
    [[noreturn]] static void throw_outside(const char* what);

    int64_t last_m_ = -1;
    std::vector<double> value_[2];
    std::vector<ProfileTag> tag_[2];
};

// Number of bytes the "_linea.dat" file of this table takes.
std::size_t encoded_line_profile_size(const LineProfile& table);
void encode_line_profile(const LineProfile& table, ByteBuffer& out);

} // namespace tratta
