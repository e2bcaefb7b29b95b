#include "model/passata_finale.hpp"

#include "model/run_state.hpp"

namespace tratta {

namespace {

// Slowdowns slower than this get code points along their length and before
// the signal that follows them.
constexpr int16_t slow_slowdown_kmh = 110;

// A walk through a slowdown places a code point every 8 cells (400 m).
constexpr int code_point_spacing = 8;

// Rule A looks this many cells back from a warning point for signals, and
// rule D this many cells on from a slowdown's end for the next signal.
constexpr int64_t warning_window = 20;
constexpr int64_t signal_search = 12;

class Pass {
public:
    explicit Pass(RunState& s) : s_(s), cells_(s.cells) {}

    void run()
    {
        const int64_t last_visit = cells_.last() - 2;
        for (int64_t i = 1; i <= last_visit; ++i) {
            const uint8_t kind = cells_.at(i).kind;
            cause_ = origin_of(i);
            if (kind == kind_slowdown_warning)
                signals_before_warning(i);
            if (kind == kind_slowdown_start) {
                before_start(i);
                if (cells_.at(i).value < slow_slowdown_kmh) {
                    const int64_t end = walk_through(i);
                    if (end > 0)
                        before_next_signal(end);
                }
            }
        }
    }

private:
    // Cells past the grid's end hold nothing and are never free.
    bool free(int64_t c) const { return cells_.contains(c) && cells_.at(c).free(); }
    bool holds(int64_t c, uint8_t kind) const { return cells_.contains(c) && cells_.at(c).kind == kind; }

    SourcePlace origin_of(int64_t c) const
    {
        const auto i = static_cast<std::size_t>(c);
        return i < s_.cell_origins.size() ? s_.cell_origins[i] : SourcePlace{};
    }

    // A code point of the pass comes from the slowdown it was placed for.
    void place(int64_t c)
    {
        RouteCell& cell = cells_.at(c);
        cell.kind = kind_code_point;
        cell.value = finishing_code;
        const auto at = static_cast<std::size_t>(c);
        if (at < s_.cell_origins.size())
            s_.cell_origins[at] = cause_;
    }

    // The pass belongs to no source line: its errors name only a chainage.
    void record(ErrorNumber code, int64_t c) { segnala(s_, code, static_cast<int32_t>(c * 50), SourcePlace{}, {}, c); }

    // Rule A: every signal up to 1000 m before a warning point gets a code
    // point in one of the two cells before it, or an existing one there is
    // lowered to 180.
    void signals_before_warning(int64_t i)
    {
        for (int64_t k = 1; k <= warning_window; ++k) {
            const int64_t m = i - k;
            if (m < 3)
                return;
            if (!holds(m, kind_signal))
                continue;
            if (free(m - 1)) {
                place(m - 1);
            } else if (free(m - 2)) {
                place(m - 2);
            } else if (holds(m - 1, kind_code_point)) {
                lower_code(m - 1);
            } else if (holds(m - 2, kind_code_point)) {
                lower_code(m - 2);
            } else {
                record(ErrorNumber::no_cell_before_warning, m);
            }
        }
    }

    void lower_code(int64_t c)
    {
        RouteCell& cell = cells_.at(c);
        cell.value = static_cast<int16_t>(minimo(cell.value, finishing_code));
    }

    // Rule B: code points 250-350 m, 550-650 m and 900-1000 m before a
    // slowdown start, each in the first free cell of its window.
    void before_start(int64_t i)
    {
        // The nearest candidate of each window; the two before it follow.
        constexpr int64_t nearest_candidates[] = {5, 11, 18};
        for (const int64_t first : nearest_candidates) {
            const int64_t farthest = first + 2;
            if (i <= farthest)
                continue;
            bool placed = false;
            for (int64_t off = first; off <= farthest && !placed; ++off) {
                if (free(i - off)) {
                    place(i - off);
                    placed = true;
                }
            }
            if (!placed)
                record(ErrorNumber::no_cell_before_slowdown, i);
        }
    }

    // Rule C: a code point every 400 m from the start of a slow slowdown to its
    // end; a code point moved one cell back or on moves the next ones with it.
    // Returns the slowdown's end cell, or 0 when the walk met the grid's end.
    int64_t walk_through(int64_t i)
    {
        int n = 0;
        int64_t k = i;
        for (;;) {
            if (k + 1 > cells_.last())
                return 0;
            ++k;
            ++n;
            if (n == code_point_spacing) {
                if (free(k)) {
                    place(k);
                    n = 0;
                } else if (free(k - 1)) {
                    place(k - 1);
                    n = 1;
                } else if (free(k + 1)) {
                    place(k + 1);
                    n = -1;
                } else {
                    // No further code point in this slowdown: n runs on past 8.
                    record(ErrorNumber::no_cell_in_slowdown, k);
                }
            }
            if (holds(k, kind_slowdown_end))
                return k;
        }
    }

    // Rule D: a code point before the first signal within 12 cells after the
    // end of a slow slowdown.
    void before_next_signal(int64_t end)
    {
        int64_t n = 0;
        for (int64_t p = end; p <= end + signal_search && p <= cells_.last(); ++p) {
            if (holds(p, kind_signal)) {
                n = p - 1;
                break;
            }
        }
        if (n <= 0)
            return;
        if (free(n))
            place(n);
        else if (free(n - 1))
            place(n - 1);
        else
            record(ErrorNumber::no_cell_in_slowdown, end);
    }

    RunState& s_;
    RouteCells& cells_;
    SourcePlace cause_; // the source line of the object the visit works for
};

} // namespace

void passata_finale(RunState& state)
{
    if (!state.cells.exists())
        return;
    Pass(state).run();
}

} // namespace tratta
