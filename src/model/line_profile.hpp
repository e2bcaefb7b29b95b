#pragma once
// The plan of the track, one point per metre from 0 to G = L + 7000: x and y of
// the track at every metre. Each element carries its own tag (empty, 16-bit
// whole number or 64-bit real) because the simulator reads it back that way.
// The "_linea.dat" file holds all x elements, then all y elements.
//
// The plan is laid from the origin metre after metre, so the table is kept
// as the file's own bytes: each point goes straight to its place in the file
// image, and nothing is copied or cleared beforehand.

#include "model/byte_buffer.hpp"

#include <cstdint>

namespace tratta {

enum class ProfileTag : uint8_t { empty = 0, int16 = 2, real = 5 };

class LineProfile {
public:
    // Sizes the table to metres 0..line_end_m and both coordinates, all empty.
    // Without keep_points the plan is walked and counted but its points are
    // not kept (and read back as 0): what a check of the sources needs,
    // without the memory of the file.
    void create(int64_t line_end_m, bool keep_points = true);
    void destroy();

    bool exists() const { return last_m_ >= 0; }
    int64_t last_m() const { return last_m_; } // G = L + 7000
    bool contains(int64_t m) const { return exists() && m >= 0 && m <= last_m_; }

    // The first two points of the plan, whole metres: P(0) and P(1).
    void set_start(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
    // The point of the next metre, from metre 2 on; the last two metres of the
    // table (G - 1 and G) stay empty. Out of that order: std::out_of_range.
    void append(double x, double y);
    // The points of the next `count` metres, in order: step(x, y) gives each
    // one. Checked once for the whole run, then laid straight into the file
    // image; a run that would pass G - 2 throws std::out_of_range and lays
    // nothing. Without keep_points the steps are not taken at all.
    template <class Step>
    void append_run(int64_t count, Step&& step);
    // The metre that the next point takes.
    int64_t next_metre() const { return started_ ? next_ : 0; }

    // Bounds-checked: a metre outside 0..G or r outside 0..1 throws std::out_of_range.
    double get(int64_t m, int r) const; // empty reads as 0
    ProfileTag tag(int64_t m, int r) const;

    // Number of bytes the "_linea.dat" file of this table takes.
    std::size_t file_size() const;
    // The "_linea.dat" file's bytes; the table no longer exists afterwards.
    Bytes take_file();

    // Bytes of one point's coordinate in the file: the 2-byte tag and the real.
    static constexpr std::size_t real_element_bytes = 10;

private:
    void check_room(int64_t count) const;
    static void put_real(uint8_t* e, double v)
    {
        store_le(e, static_cast<uint64_t>(ProfileTag::real), 2);
        store_le(e + 2, f64_bits(v), 8);
    }
    std::size_t x_offset(int64_t m) const;
    std::size_t y_base() const { return y_base_; }
    uint8_t* element(int r, int64_t m);

    int64_t last_m_ = -1;
    bool started_ = false;
    bool keep_ = true;
    int64_t next_ = 2;        // the metre the next appended point takes
    std::size_t y_base_ = 0;  // where the y elements begin while the plan can still reach G - 2
    Bytes block_;
};

template <class Step>
void LineProfile::append_run(int64_t count, Step&& step)
{
    if (count <= 0)
        return;
    check_room(count);
    if (keep_) {
        uint8_t* ex = element(0, next_);
        uint8_t* ey = element(1, next_);
        for (int64_t i = 0; i < count; ++i, ex += real_element_bytes, ey += real_element_bytes) {
            double x = 0.0;
            double y = 0.0;
            step(x, y);
            put_real(ex, x);
            put_real(ey, y);
        }
    }
    next_ += count;
}

} // namespace tratta
