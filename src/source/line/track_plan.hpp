#pragma once
// The plan of the track, walked metre by metre: each step repeats the previous
// one, or turns it by a small fixed angle inside a curve.

#include "model/line_profile.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tratta {

// The metre the walk computes next.
inline constexpr int64_t first_walked_metre = 2;

// The track leaves the origin heading along the positive y axis with a step of 1 m.
void start_track_plan(LineProfile& table);

// How a curve key is read: its class is the first of the digits 1 to 6 that
// the key holds (1 the widest curve, radius 10000 m, 6 the sharpest, 333 m),
// and an "s" anywhere in the key turns it left, otherwise it turns right. A
// key without a class digit has none.
struct CurveKey {
    int curve_class = 0; // 1 to 6
    bool left = false;
};
std::optional<CurveKey> curve_key(std::string_view key);

// Curvature of a curve key, radians per metre, from its reading above.
std::optional<double> curve_curvature(std::string_view key);

// A curve line: straight on up to metre start, then turning by k up to metre
// end. The walk never goes past metre G - 2. False when the walk passes metre
// 1000000 (the curve is then left where it stands).
bool lay_curve(LineProfile& table, int64_t& metre, int64_t start_m, int64_t end_m, double k);

// After the last line: straight on up to metre G - 2.
void finish_track_plan(LineProfile& table, int64_t& metre);

} // namespace tratta
