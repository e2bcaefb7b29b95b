#include "model/line_profile.hpp"

#include "model/file_layouts.hpp"

#include <cstring>
#include <stdexcept>

namespace tratta {

namespace {

// Bytes of one element in the file: the 2-byte tag and the value it names.
constexpr std::size_t empty_bytes = element_bytes(ProfileTag::empty);
constexpr std::size_t int16_bytes = element_bytes(ProfileTag::int16);
constexpr std::size_t real_bytes = element_bytes(ProfileTag::real);
static_assert(empty_bytes == 2 && int16_bytes == 4 && real_bytes == 10);
static_assert(real_bytes == LineProfile::real_element_bytes);
constexpr int64_t first_real_metre = 2;

[[noreturn]] void outside(const char* what) { throw std::out_of_range(what); }

// One coordinate's run when every metre that the plan can reach holds its
// point: two whole numbers, reals up to G - 2, the last two metres empty.
std::size_t full_run_bytes(int64_t last_m)
{
    return 2 * int16_bytes + real_bytes * static_cast<std::size_t>(last_m - 3) + 2 * empty_bytes;
}

} // namespace

void LineProfile::create(int64_t line_end_m, bool keep_points)
{
    if (line_end_m < first_real_metre + 1)
        throw std::invalid_argument("fine linea troppo corta per la tabella della linea");
    last_m_ = line_end_m;
    started_ = false;
    keep_ = keep_points;
    next_ = first_real_metre;
    y_base_ = full_run_bytes(line_end_m);
    block_ = Bytes();
    if (keep_)
        block_.resize(2 * y_base_);
}

void LineProfile::destroy()
{
    last_m_ = -1;
    started_ = false;
    next_ = first_real_metre;
    block_ = Bytes();
}

std::size_t LineProfile::x_offset(int64_t m) const
{
    if (m < first_real_metre)
        return static_cast<std::size_t>(m) * int16_bytes;
    return 2 * int16_bytes + static_cast<std::size_t>(m - first_real_metre) * real_bytes;
}

uint8_t* LineProfile::element(int r, int64_t m)
{
    return block_.data() + (r == 0 ? 0 : y_base_) + x_offset(m);
}

void LineProfile::set_start(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    if (!exists())
        outside("nessuna tabella della linea");
    started_ = true;
    next_ = first_real_metre;
    if (!keep_)
        return;
    const int16_t values[2][2] = {{x0, x1}, {y0, y1}};
    for (int r = 0; r < 2; ++r) {
        for (int64_t m = 0; m < first_real_metre; ++m) {
            uint8_t* e = element(r, m);
            store_le(e, static_cast<uint64_t>(ProfileTag::int16), 2);
            store_le(e + 2, static_cast<uint16_t>(values[r][m]), 2);
        }
    }
}

void LineProfile::check_room(int64_t count) const
{
    if (!started_ || count > last_m_ - 1 - next_)
        outside("punto oltre la fine della tabella della linea");
}

void LineProfile::append(double x, double y)
{
    append_run(1, [&](double& px, double& py) {
        px = x;
        py = y;
    });
}

ProfileTag LineProfile::tag(int64_t m, int r) const
{
    if (!contains(m))
        outside("metro fuori dalla tabella della linea");
    if (r < 0 || r > 1)
        outside("coordinata fuori dalla tabella della linea");
    if (!started_ || m >= next_)
        return ProfileTag::empty;
    return m < first_real_metre ? ProfileTag::int16 : ProfileTag::real;
}

double LineProfile::get(int64_t m, int r) const
{
    const ProfileTag t = tag(m, r);
    if (t == ProfileTag::empty || !keep_)
        return 0.0;
    const uint8_t* e = block_.data() + (r == 0 ? 0 : y_base_) + x_offset(m) + 2;
    if (t == ProfileTag::int16)
        return static_cast<int16_t>(static_cast<uint16_t>(e[0] | (e[1] << 8)));
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | e[i];
    double v = 0;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

std::size_t LineProfile::file_size() const
{
    if (!exists())
        return 0;
    const auto elements = static_cast<std::size_t>(last_m_ + 1);
    const std::size_t whole = started_ ? 2 : 0;
    const std::size_t reals = started_ ? static_cast<std::size_t>(next_ - first_real_metre) : 0;
    const std::size_t empties = elements - whole - reals;
    return 2 * (whole * int16_bytes + reals * real_bytes + empties * empty_bytes);
}

Bytes LineProfile::take_file()
{
    if (!exists() || !keep_) {
        destroy();
        return {};
    }
    // The points laid so far stand at their places; the metres after them
    // are empty elements. A plan that reached G - 2 fills the block exactly;
    // a shorter one (its line file stopped early) moves its y run forward
    // to where the x run now ends.
    const std::size_t run = file_size() / 2;
    const std::size_t laid = started_ ? x_offset(next_) : 0;
    uint8_t* base = block_.data();
    std::memset(base + laid, 0, run - laid);
    if (run != y_base_)
        std::memmove(base + run, base + y_base_, laid);
    std::memset(base + run + laid, 0, run - laid);
    block_.resize(2 * run);
    Bytes file = std::move(block_);
    destroy();
    return file;
}

} // namespace tratta
