#include "source/line/progressive_ordina.hpp"

#include "source/field_reader.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace tratta {

namespace {

// One chainage moves as a whole: its start, offset and direction together.
struct Chainage {
    int32_t start = 0;
    int32_t offset = 0;
    int32_t direction = 0;
    SourcePlace origin; // the line it was read from
};

Chainage take(const ScenarioRecords& records, const RecordOrigins& origins, int index)
{
    const ScenarioRecord& r = records[index];
    return {r.start_m, r.end_m, r.at_m, origins[static_cast<std::size_t>(index)]};
}

void put(ScenarioRecords& records, RecordOrigins& origins, int index, const Chainage& c)
{
    ScenarioRecord& r = records[index];
    r.start_m = c.start;
    r.end_m = c.offset;
    r.at_m = c.direction;
    origins[static_cast<std::size_t>(index)] = c.origin;
}

constexpr int32_t falling_offset_shift = 100;

} // namespace

void progressive_ordina(ScenarioRecords& records)
{
    RecordOrigins origins{};
    progressive_ordina(records, origins);
}

void progressive_ordina(ScenarioRecords& records, RecordOrigins& origins)
{
    const Chainage tre = take(records, origins, ScenarioRecords::chainage_last);
    const Chainage due = take(records, origins, ScenarioRecords::chainage_middle);
    const Chainage uno = take(records, origins, ScenarioRecords::chainage_first);

    std::array<Chainage, 3> order{tre, due, uno};
    const int64_t start_sum = int64_t{tre.start} + due.start + uno.start;
    if (start_sum != 0) {
        // Latest start first; chainages that start together keep the one read
        // into the higher record ahead, so none of them is lost.
        order = {uno, due, tre};
        std::stable_sort(order.begin(), order.end(),
                         [](const Chainage& a, const Chainage& b) { return a.start > b.start; });
    } else if (uno.offset > 0) {
        order = {uno, due, tre};
    } else if (due.offset > 0) {
        order = {due, tre, uno};
    } else if (tre.offset <= 0) {
        order = {};
    }
    put(records, origins, ScenarioRecords::chainage_last, order[0]);
    put(records, origins, ScenarioRecords::chainage_middle, order[1]);
    put(records, origins, ScenarioRecords::chainage_first, order[2]);

    for (int index = ScenarioRecords::chainage_last; index <= ScenarioRecords::chainage_first; ++index) {
        ScenarioRecord& r = records[index];
        if (r.at_m != 1)
            continue;
        const int64_t shifted = int64_t{r.end_m} + falling_offset_shift;
        if (!std::in_range<int32_t>(shifted))
            throw ReadFailure("lo scostamento " + std::to_string(r.end_m) +
                                  " della progressiva che decresce, più 100 m, non sta in un numero a 32 bit",
                              origins[static_cast<std::size_t>(index)]);
        r.end_m = static_cast<int32_t>(shifted);
    }
}

} // namespace tratta
