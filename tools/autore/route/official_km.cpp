#include "autore/route/official_km.hpp"

#include <algorithm>
#include <cstdlib>

namespace autore {

namespace {

// A falling count is stored 100 m further on than the author wrote it.
constexpr int64_t falling_offset_shift = 100;

} // namespace

std::vector<Chainage> chainages_of(const tratta::ScenarioRecords& records)
{
    std::vector<Chainage> out;
    for (int index : {tratta::ScenarioRecords::chainage_first, tratta::ScenarioRecords::chainage_middle,
                      tratta::ScenarioRecords::chainage_last}) {
        const tratta::ScenarioRecord& r = records[index];
        if (r.start_m == 0 && r.end_m == 0 && r.at_m == 0)
            continue;
        Chainage c{r.start_m, r.end_m, r.at_m};
        if (c.direction == 1)
            c.offset_m -= falling_offset_shift;
        out.push_back(c);
    }
    std::stable_sort(out.begin(), out.end(), [](const Chainage& a, const Chainage& b) { return a.start_m < b.start_m; });
    return out;
}

const Chainage* chainage_in_force(const std::vector<Chainage>& chainages, int64_t route_m)
{
    const Chainage* in_force = nullptr;
    for (const Chainage& c : chainages)
        if (c.start_m <= route_m)
            in_force = &c;
    return in_force;
}

int64_t km_by(const Chainage* chainage, int64_t route_m)
{
    if (chainage == nullptr)
        return route_m;
    return chainage->direction == 1 ? chainage->offset_m - route_m : route_m + chainage->offset_m;
}

int64_t official_km_m(const std::vector<Chainage>& chainages, int64_t route_m)
{
    return km_by(chainage_in_force(chainages, route_m), route_m);
}

std::string km_text(int64_t metres)
{
    const int64_t whole = std::llabs(metres);
    std::string thousandths = std::to_string(whole % 1000);
    thousandths.insert(0, 3 - thousandths.size(), '0');
    return (metres < 0 ? "-" : "") + std::to_string(whole / 1000) + "." + thousandths;
}

} // namespace autore
