// One fault often brings others along: a route length misread as 334 m puts
// every later object beyond the end of the route. The cause is told first,
// and what only repeats it is not told again.
#include "autore/analysis/rules.hpp"

#include <algorithm>

namespace autore {

namespace {

bool same_line(const tratta::SourcePlace& a, const tratta::SourcePlace& b)
{
    return a.known() && a.file == b.file && a.line == b.line;
}

// An error that stands at this line, or names it as a place that takes part.
bool error_names(const Diagnostic& e, const tratta::SourcePlace& at)
{
    if (!e.is_error())
        return false;
    if (same_line(e.place, at))
        return true;
    return std::any_of(e.related.begin(), e.related.end(),
                       [&](const RelatedPlace& r) { return same_line(r.place, at); });
}

// So many of the places that follow from one cause are named beside it.
constexpr std::size_t consequences_named = 5;

// The warning at the line a station beyond the end was measured against (a
// route length misread), when there is one.
Diagnostic* cause_of(std::vector<Diagnostic>& all, const Diagnostic& d)
{
    for (const RelatedPlace& r : d.related)
        for (Diagnostic& c : all)
            if (!c.is_error() && c.code != d.code && same_line(c.place, r.place))
                return &c;
    return nullptr;
}

// Stations beyond the end of a route whose length was misread stand under
// the misreading, counted, the first few named.
void fold_stations_beyond(std::vector<Diagnostic>& all)
{
    std::vector<std::pair<std::size_t, std::size_t>> folds; // consequence, cause
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].code == "stazione-oltre-la-fine")
            if (const Diagnostic* cause = cause_of(all, all[i]))
                folds.emplace_back(i, static_cast<std::size_t>(cause - all.data()));
    if (folds.empty())
        return;
    Diagnostic& cause = all[folds.front().second];
    cause.message += "; per questo " + std::to_string(folds.size()) +
                     (folds.size() == 1 ? " stazione sta" : " stazioni stanno") + " oltre la fine del percorso";
    for (std::size_t k = 0; k < folds.size() && k < consequences_named; ++k)
        cause.related.push_back({all[folds[k].first].place, all[folds[k].first].message});
    std::vector<bool> folded(all.size(), false);
    for (const auto& f : folds)
        folded[f.first] = true;
    std::vector<Diagnostic> kept;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!folded[i])
            kept.push_back(std::move(all[i]));
    all = std::move(kept);
}

} // namespace

void group_consequences(std::vector<Diagnostic>& all)
{
    // A station beyond the grid is an error already; that it is also beyond
    // the end of the route says nothing more.
    std::erase_if(all, [&](const Diagnostic& d) {
        return d.code == "stazione-oltre-la-fine" &&
               std::any_of(all.begin(), all.end(), [&](const Diagnostic& e) { return error_names(e, d.place); });
    });
    fold_stations_beyond(all);
    // A warning at the route length that a position beyond the grid was
    // measured against (a length misread) comes before that error.
    for (std::size_t w = 0; w < all.size(); ++w) {
        if (all[w].is_error() || !all[w].place.known())
            continue;
        const auto first = std::find_if(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(w), [&](const Diagnostic& e) {
            return e.is(tratta::ErrorNumber::beyond_grid) && !same_line(e.place, all[w].place) && error_names(e, all[w].place);
        });
        if (first == all.begin() + static_cast<std::ptrdiff_t>(w))
            continue;
        std::rotate(first, all.begin() + static_cast<std::ptrdiff_t>(w), all.begin() + static_cast<std::ptrdiff_t>(w) + 1);
    }
}

} // namespace autore
