#pragma once
// The shortest running time of a train over a stretch of line: the fastest
// speed profile that keeps every limit, accelerates and brakes at the given
// rates, starts from rest and comes to rest at every stop. The profile is the
// lower of two curves: forward from each start, accelerating up to the limit,
// and backward from each stop and each lower limit, braking down to it.

#include <cstdint>
#include <vector>

namespace autore {

// The speed in force over [from_m, to_m), in km/h.
struct LimitStretch {
    int64_t from_m = 0;
    int64_t to_m = 0;
    int kmh = 0;
};

struct Braking {
    double accel_ms2 = 0; // acceleration when the limit allows more speed
    double decel_ms2 = 0; // deceleration when braking for a stop or a lower limit
};

// A place the train passes (or stops at) whose time is wanted.
struct RunPoint {
    int64_t at_m = 0;
    bool stop = false;
};

// Seconds from the start at the first point until the head reaches each
// point; the first and the last points are stops whatever they say, and at a
// stop the time is the arrival. The points stand in ascending order, the
// limits cover the span from the first to the last without a gap. A stretch
// with a limit of 0 km/h, or rates of 0, give an infinite time.
std::vector<double> passing_times(const std::vector<LimitStretch>& limits, const std::vector<RunPoint>& points,
                                  const Braking& rates);

} // namespace autore
