// The speed-limit and adhesion profiles: each line sets its value from the
// cell of its position on, up to the next line's cell; the last value runs to
// the end of the route.

#include "model/low_bits.hpp"
#include "model/nearest.hpp"
#include "source/train/train_keys.hpp"
#include "source/train/train_read.hpp"

#include <string>

namespace tratta {

namespace {

// Speed limits are kept in units of 5 km/h, one byte: 0 to 1275 km/h.
void store_speed(RouteCell& cell, const Profile& p)
{
    const int32_t kmh = p.previous.value_or(0);
    const int64_t fifth = nearest(static_cast<double>(kmh) / 5.0);
    if (fifth < 0 || fifth > 255)
        throw ReadFailure("il limite di " + std::to_string(kmh) +
                              " km/h non sta nel suo campo (da 0 a 1275 km/h, in unità di 5 km/h)",
                          p.previous_place);
    cell.speed5 = static_cast<uint8_t>(fifth);
}

void store_adhesion(RouteCell& cell, const Profile& p) { cell.adhesion = low8(p.previous.value_or(0)); }

using StoreValue = void (*)(RouteCell&, const Profile&);

// Sets the previous value into the cells from the cursor up to the cell before
// the target, at least one cell, never the last cell of the grid.
void fill_up_to(RouteCells& cells, Profile& p, int64_t target, StoreValue store)
{
    do {
        if (p.cursor >= cells.last())
            return;
        store(cells.at(p.cursor), p);
        ++p.cursor;
    } while (p.cursor < target);
}

LineEnd read_profile_line(TrainRead& r, Profile& p, const KeySpec& key, StoreValue store)
{
    r.in.expect(key);
    const int32_t position = r.in.read_i32();
    const SourcePlace at = r.in.field_place();
    const int32_t value = r.in.read_i32();
    const SourcePlace value_place = r.in.field_place();
    RunState& s = r.state;
    if (!position_accepted(s, position, at))
        return LineEnd::completion;
    // The stretch before the profile's first line takes that line's value.
    if (!p.previous) {
        p.previous = value;
        p.previous_place = value_place;
    }
    const int64_t target = cell_of(position);
    if (target > 0)
        fill_up_to(s.cells, p, target, store);
    p.previous = value;
    p.previous_place = value_place;
    return LineEnd::next_key;
}

// Carries the last value on to cell N - 3; the cell at the cursor is set in
// any case. Without any line the profile is 0.
void complete(RouteCells& cells, Profile& p, StoreValue store)
{
    do {
        store(cells.at(p.cursor), p);
        ++p.cursor;
    } while (p.cursor < cells.last() - 2);
}

} // namespace

LineEnd read_speed_line(TrainRead& r) { return read_profile_line(r, r.speed, train_keys::speed_limit, store_speed); }

LineEnd read_adhesion_line(TrainRead& r)
{
    return read_profile_line(r, r.adhesion, train_keys::adhesion, store_adhesion);
}

void complete_profiles(TrainRead& r)
{
    complete(r.state.cells, r.speed, store_speed);
    complete(r.state.cells, r.adhesion, store_adhesion);
}

} // namespace tratta
