#include "autore/decompile/curve_runs.hpp"

#include <array>
#include <bit>

namespace autore {

namespace {

// The turn per metre of each class, as the compile's walk takes it.
constexpr std::array<double, 6> curvatures{0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

bool same_bits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// The turn that gives (x, y) from the two points before it: 0 straight,
// +c / -c for class c to the right / left; nothing when none does.
std::optional<int> turn_at(double x1, double y1, double x2, double y2, double x, double y, int preferred)
{
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const auto gives = [&](int turn) {
        if (turn == 0)
            return same_bits(x1 + dx, x) && same_bits(y1 + dy, y);
        const double c = curvatures[static_cast<std::size_t>((turn > 0 ? turn : -turn) - 1)];
        const double k = turn > 0 ? c : -c;
        return same_bits(x1 + (dx + k * dy), x) && same_bits(y1 + (dy - k * dx), y);
    };
    // The turn of the metre before comes first: a curve runs on far more
    // often than it changes.
    if (gives(preferred))
        return preferred;
    if (preferred != 0 && gives(0))
        return 0;
    for (int c = 1; c <= 6; ++c)
        for (const int turn : {c, -c})
            if (turn != preferred && gives(turn))
                return turn;
    return std::nullopt;
}

} // namespace

CurveRecovery recover_curves(const tratta::DecodedLineProfile& table)
{
    CurveRecovery found;
    if (!table.exists())
        return found;
    // The walk lays metres 2 to G - 2; the two last stay empty.
    const int64_t last = table.last_m() - 2;
    int turn = 0;
    for (int64_t m = 2; m <= last; ++m) {
        const auto t = turn_at(table.get(m - 1, 0), table.get(m - 1, 1), table.get(m - 2, 0), table.get(m - 2, 1),
                               table.get(m, 0), table.get(m, 1), turn);
        if (!t) {
            found.unmatched_m = m;
            return found;
        }
        if (*t != 0) {
            if (*t == turn && !found.curves.empty() && found.curves.back().last_m == m - 1)
                found.curves.back().last_m = m;
            else
                found.curves.push_back({m, m, *t > 0 ? *t : -*t, *t < 0});
        }
        turn = *t;
    }
    return found;
}

} // namespace autore
