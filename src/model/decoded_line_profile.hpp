#pragma once
// A "_linea.dat" file read back: every element of both coordinates with its
// own tag, whatever order the file holds them in. For the authoring tool,
// which shows compiled scenarios to their authors.

#include "model/line_profile.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace tratta {

class DecodedLineProfile {
public:
    // Sizes the table to metres 0..line_end_m and both coordinates, all empty.
    void create(int64_t line_end_m);

    bool exists() const { return last_m_ >= 0; }
    int64_t last_m() const { return last_m_; }
    bool contains(int64_t m) const { return exists() && m >= 0 && m <= last_m_; }

    // Bounds-checked: a metre outside 0..G or r outside 0..1 throws std::out_of_range.
    void set_int16(int64_t m, int r, int16_t v) { store(m, r, v, ProfileTag::int16); }
    void set_real(int64_t m, int r, double v) { store(m, r, v, ProfileTag::real); }
    double get(int64_t m, int r) const { return value_[coordinate(r)][slot(m)]; } // empty reads as 0
    ProfileTag tag(int64_t m, int r) const { return tag_[coordinate(r)][slot(m)]; }

private:
    std::size_t slot(int64_t m) const;
    static std::size_t coordinate(int r);
    void store(int64_t m, int r, double v, ProfileTag t);

    int64_t last_m_ = -1;
    std::vector<double> value_[2];
    std::vector<ProfileTag> tag_[2];
};

} // namespace tratta
