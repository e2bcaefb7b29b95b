#pragma once
// The scenario record table: stations from record 1 upward, sign-board texts
// from record 80 downward, and the scenario's header values in records 81-86.
// It is written whole, record after record, to the ".sim" file.

#include "model/byte_buffer.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tratta {

struct ScenarioRecord {
    uint8_t kind = 0;
    int32_t start_m = 0;
    int32_t end_m = 0;
    int32_t at_m = 0;
    uint8_t flag_a = 0;
    std::string text; // Windows-1252 bytes, as read from the source
    int16_t int_a = 0;
    int16_t int_b = 0;
    int16_t int_c = 0;
    int16_t int_d = 0;
    int16_t int_e = 0;
    uint8_t flag_b = 0;
    uint8_t flag_c = 0;
    uint8_t flag_d = 0;
    uint8_t flag_e = 0;
    int32_t time_s = 0;

    bool operator==(const ScenarioRecord&) const = default;
};

struct ScenarioRecords {
    static constexpr int count = 87;
    static constexpr int first_board_slot = 80;
    static constexpr int chainage_last = 81;  // read from "tre", latest start after ordering
    static constexpr int chainage_middle = 82;
    static constexpr int chainage_first = 83;
    static constexpr int train_header = 84;   // braked mass, route length, cars
    static constexpr int scenario_header = 85; // backgrounds, scenario name, stamp, check code
    static constexpr int run_header = 86;     // signal repetition, train name, sand, clock

    std::array<ScenarioRecord, count> records{};

    void clear() { records.fill(ScenarioRecord{}); }
    ScenarioRecord& operator[](int index) { return records.at(static_cast<std::size_t>(index)); }
    const ScenarioRecord& operator[](int index) const
    {
        return records.at(static_cast<std::size_t>(index));
    }
};

// Fixed part of one record on disk; the text's bytes come on top of it.
inline constexpr std::size_t record_fixed_bytes = 34;

// The ".sim" file: records 0..86, each 34 bytes plus its text, no header.
// A text longer than 65535 bytes does not fit its length field: the writer
// refuses it (std::length_error) rather than write a broken record.
void encode_scenario_records(const ScenarioRecords& table, ByteBuffer& out);

} // namespace tratta
