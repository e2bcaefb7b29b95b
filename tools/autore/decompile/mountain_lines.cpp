#include "autore/decompile/mountain_lines.hpp"

#include "model/run_state.hpp"
#include "source/grid_check.hpp"
#include "source/line/memo_montagna.hpp"

#include <algorithm>
#include <optional>

namespace autore {

namespace {

using tratta::RouteCell;

bool is_marker(const RouteCell& c) { return c.kind == tratta::kind_mountain_marker; }
bool is_empty(const RouteCell& c) { return c.kind == tratta::kind_none; }

// A mountain's code for a side without markers: a side above 10 is written
// below 0, its low 8 bits stay.
int64_t plain_code(uint8_t side) { return side > 10 ? int64_t{side} - 256 : int64_t{side}; }

// Lines as an author writes them, one after the other; a mountain of a side
// other than 3 that would begin 150 m or less after the previous one's end
// (or before it) is preceded by an empty mountain that ends far behind, which
// only moves that previous end back. A mountain may begin no later than two
// cells before the grid's last (the grid check keeps 100 m free beyond a
// position): a stretch that begins in those two last cells is written, with
// the cells before it, as the ends of mountains that all begin there, the
// farthest first, after every other line.
class LineList {
public:
    explicit LineList(const std::vector<RouteCell>& cells)
        : cells_(cells), last_start_(static_cast<int64_t>(cells.size()) - 3)
    {
    }

    void add(int64_t first, int64_t last, uint8_t side, int64_t code)
    {
        if (first > last_start_) {
            tail_ = true;
            return;
        }
        const int64_t start = first * 50;
        const int64_t end = (last + 1) * 50;
        if (previous_end_ && start - *previous_end_ <= 150 && side != 3)
            lines_.push_back({0, -1000, 0});
        lines_.push_back({start, end, code});
        previous_end_ = end;
    }
    std::vector<MountainLine> take()
    {
        if (tail_ && last_start_ >= 0) {
            tail_ = false;
            const auto n = static_cast<int64_t>(cells_.size());
            for (int64_t c = n - 1; c >= last_start_;) {
                const uint8_t side = cells_[static_cast<std::size_t>(c)].side;
                int64_t first = c;
                while (first - 1 >= last_start_ && cells_[static_cast<std::size_t>(first - 1)].side == side)
                    --first;
                add(last_start_, c, side, plain_code(side));
                c = first - 1;
            }
        }
        std::vector<MountainLine> taken;
        taken.swap(lines_);
        return taken;
    }

private:
    const std::vector<RouteCell>& cells_;
    const int64_t last_start_; // the last cell a mountain may begin in
    std::vector<MountainLine> lines_;
    std::optional<int64_t> previous_end_;
    bool tail_ = false;
};

// Stretches of one mountain side, along the route. A marked mountain has a
// marker in every fourth cell counted from its first, where the cell was
// empty; mountains laid over each other leave several such steps, and a
// stretch of side 3 is then written as one mountain without markers and,
// over it, one marked mountain for each run of markers that keeps a step.
class AlongTheRoute {
public:
    explicit AlongTheRoute(const std::vector<RouteCell>& cells) : cells_(cells), list_(cells) {}

    std::vector<MountainLine> lines()
    {
        const auto n = static_cast<int64_t>(cells_.size());
        for (int64_t i = 0; i < n;) {
            const uint8_t side = at(i).side;
            int64_t last = i;
            while (last + 1 < n && at(last + 1).side == side)
                ++last;
            if (side != 0)
                stretch(i, last, side);
            i = last + 1;
        }
        return list_.take();
    }

private:
    void stretch(int64_t first, int64_t last, uint8_t side)
    {
        std::optional<int64_t> first_marker;
        for (int64_t c = first; c <= last && !first_marker; ++c)
            if (is_marker(at(c)))
                first_marker = c;
        if (!first_marker) {
            list_.add(first, last, side, plain_code(side));
            return;
        }
        if (side == 3) {
            side_three(first, last);
            return;
        }
        // The mountain began up to three cells before the stretch when its
        // markers say so, its head then covered by a later one of side 3.
        int64_t start = *first_marker - 3;
        while (start > first)
            start -= 4;
        const bool head_of_three = start < first && start >= 0 && at(start).side == 3;
        if (!head_of_three)
            start = first;
        list_.add(start, last, side, side + 10);
        if (start < first)
            list_.add(start, first - 1, 3, 3);
    }

    void side_three(int64_t first, int64_t last)
    {
        // One marked mountain over the whole stretch when its markers keep
        // the step from its first cell to its end.
        bool one = true;
        for (int64_t c = first; c <= last; ++c)
            one = one && fits(first, c);
        if (one) {
            list_.add(first, last, 3, 13);
            return;
        }
        list_.add(first, last, 3, 3);
        for (int64_t phase = 0; phase < 4; ++phase) {
            int64_t c = first + phase;
            while (c <= last) {
                // A run of cells four apart that hold markers, or objects
                // placed over markers, from a first real marker on.
                if (!is_marker(at(c))) {
                    c += 4;
                    continue;
                }
                int64_t end = c;
                while (end + 4 <= last && !is_empty(at(end + 4)))
                    end += 4;
                // A run whose mountain began before the stretch: its first
                // cells are given back their own side afterwards.
                if (c - 3 >= 0) {
                    list_.add(c - 3, end, 3, 13);
                    restore(c - 3, first - 1);
                }
                c = end + 4;
            }
        }
    }
    // Cells from..to (none when to < from) set back to the side they hold,
    // without markers.
    void restore(int64_t from, int64_t to)
    {
        for (int64_t c = from; c <= to;) {
            const uint8_t side = at(c).side;
            int64_t last = c;
            while (last + 1 <= to && at(last + 1).side == side)
                ++last;
            list_.add(c, last, side, plain_code(side));
            c = last + 1;
        }
    }
    // Cell c agrees with a marked mountain from `start`: a marker on every
    // fourth cell (or an object placed over it later), none elsewhere.
    bool fits(int64_t start, int64_t c) const
    {
        if ((c - start + 1) % 4 == 0)
            return !is_empty(at(c));
        return !is_marker(at(c));
    }
    const RouteCell& at(int64_t c) const { return cells_[static_cast<std::size_t>(c)]; }

    const std::vector<RouteCell>& cells_;
    LineList list_;
};

// The cells that the lines give, read in order over an empty route; none
// when the grid check refuses a line's start.
std::optional<std::vector<RouteCell>> laid(const std::vector<MountainLine>& lines, int32_t route_length_m)
{
    if (route_length_m < 0)
        return std::nullopt; // no grid the compile would make
    tratta::RunState state;
    state.cells.create(route_length_m);
    tratta::MountainTrack track;
    for (const auto& line : lines) {
        if (!tratta::grid_accepts(state.cells, line.start_m))
            return std::nullopt;
        auto start = static_cast<int32_t>(line.start_m);
        auto end = static_cast<int32_t>(line.end_m);
        auto code = static_cast<int32_t>(line.code);
        tratta::memo_montagna(state, track, start, end, code);
    }
    return state.cells.cells();
}

// Mountains laid over each other so that no order along the route gives
// their markers again. A marker can only be a marker of a mountain that
// begins three cells before it; markers four cells apart, with nothing but
// markers or later objects on the cells four apart between them, are those
// of one mountain. So: first every such run as a marked mountain, whatever
// side it leaves, then, over them, mountains without markers wherever the
// side is not yet right (side 0 included).
std::vector<MountainLine> layered(const std::vector<RouteCell>& cells, int32_t route_length_m)
{
    const auto n = static_cast<int64_t>(cells.size());
    const auto cell = [&](int64_t c) -> const RouteCell& { return cells[static_cast<std::size_t>(c)]; };
    struct Run {
        int64_t first;
        int64_t last;
    };
    std::vector<Run> runs;
    for (int64_t phase = 0; phase < 4; ++phase)
        for (int64_t c = 3 + phase; c < n; c += 4) {
            if (!is_marker(cell(c)))
                continue;
            int64_t end = c;
            for (int64_t k = c + 4; k < n && !is_empty(cell(k)); k += 4)
                if (is_marker(cell(k)))
                    end = k;
            runs.push_back({c - 3, end});
            c = end;
        }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.first < b.first; });
    LineList list(cells);
    for (const auto& r : runs) {
        // The side of the stretch the run begins in, so that fewer cells
        // need setting right afterwards; side 0 has no marked code of its own.
        const uint8_t side = cell(r.first).side == 0 ? 3 : cell(r.first).side;
        list.add(r.first, r.last, side, side + 10);
    }
    std::vector<MountainLine> lines = list.take();
    const auto made = laid(lines, route_length_m);
    if (!made || made->size() != cells.size())
        return lines; // the cells are not of a route of this length
    const auto& sides = *made;
    // Each stretch of one side, from its first cell that is not right to its
    // last, once more without markers.
    for (int64_t i = 0; i < n;) {
        const uint8_t side = cell(i).side;
        int64_t last = i;
        while (last + 1 < n && cell(last + 1).side == side)
            ++last;
        std::optional<int64_t> from;
        int64_t to = 0;
        for (int64_t c = i; c <= last; ++c)
            if (sides[static_cast<std::size_t>(c)].side != side) {
                if (!from)
                    from = c;
                to = c;
            }
        if (from)
            list.add(*from, to, side, plain_code(side));
        i = last + 1;
    }
    for (auto& line : list.take())
        lines.push_back(line);
    return lines;
}

} // namespace

bool mountains_give(const std::vector<MountainLine>& lines, const std::vector<RouteCell>& cells,
                    int32_t route_length_m)
{
    const auto made = laid(lines, route_length_m);
    if (!made || made->size() != cells.size())
        return false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& want = cells[i];
        const auto& got = (*made)[i];
        if (got.side != want.side)
            return false;
        // Where the cell now holds another object, a marker may have stood before it.
        if ((is_marker(want) || is_empty(want)) && is_marker(got) != is_marker(want))
            return false;
    }
    return true;
}

std::vector<MountainLine> mountain_lines(const std::vector<RouteCell>& cells, int32_t route_length_m)
{
    auto lines = AlongTheRoute(cells).lines();
    if (mountains_give(lines, cells, route_length_m))
        return lines;
    auto other = layered(cells, route_length_m);
    return mountains_give(other, cells, route_length_m) ? other : lines;
}

} // namespace autore
