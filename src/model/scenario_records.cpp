#include "model/scenario_records.hpp"

#include "model/file_layouts.hpp"

namespace tratta {

void encode_scenario_records(const ScenarioRecords& table, ByteBuffer& out)
{
    std::size_t total = 0;
    for (const auto& r : table.records)
        total += record_fixed_bytes + r.text.size();
    out.reserve(out.size() + total);
    for (const auto& r : table.records)
        for_each_field(r, [&out](const LayoutField&, const auto& value) { out.put(value); });
}

} // namespace tratta
