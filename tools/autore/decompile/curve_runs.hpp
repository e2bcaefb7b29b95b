#pragma once
// The curves of a line read back from its plan: the compile walks the track
// metre by metre, each metre either going straight on or turning the last
// step by one of the six curvatures, to the left or to the right. Each
// metre's turn is found by taking every possible step again from the two
// points before it and keeping the one that gives the stored point exactly.

#include "model/decoded_line_profile.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace autore {

// Metres first_m to last_m all turn by the same curvature: the curve line
// "curva<side><class>, first_m - 1, last_m - first_m + 1".
struct CurveRun {
    int64_t first_m = 0;
    int64_t last_m = 0;
    int curve_class = 1; // 1 (radius 10000 m) to 6 (about 333 m)
    bool left = false;
};

struct CurveRecovery {
    std::vector<CurveRun> curves;
    // The first metre whose point no step of the walk gives, when there is one.
    std::optional<int64_t> unmatched_m;
};

CurveRecovery recover_curves(const tratta::DecodedLineProfile& table);

} // namespace autore
