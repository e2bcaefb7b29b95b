#include "model/scenario_records.hpp"

#include <stdexcept>

namespace tratta {

void encode_scenario_records(const ScenarioRecords& table, ByteBuffer& out)
{
    std::size_t total = 0;
    for (const auto& r : table.records)
        total += record_fixed_bytes + r.text.size();
    out.reserve(out.size() + total);

    for (const auto& r : table.records) {
        if (r.text.size() > 0xFFFFu)
            throw std::length_error("testo di un record oltre 65535 byte");
        out.put_u8(r.kind);
        out.put_i32(r.start_m);
        out.put_i32(r.end_m);
        out.put_i32(r.at_m);
        out.put_u8(r.flag_a);
        out.put_u16(static_cast<uint16_t>(r.text.size()));
        out.put_bytes(r.text);
        out.put_i16(r.int_a);
        out.put_i16(r.int_b);
        out.put_i16(r.int_c);
        out.put_i16(r.int_d);
        out.put_i16(r.int_e);
        out.put_u8(r.flag_b);
        out.put_u8(r.flag_c);
        out.put_u8(r.flag_d);
        out.put_u8(r.flag_e);
        out.put_i32(r.time_s);
    }
}

} // namespace tratta
