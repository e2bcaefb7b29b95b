#include "model/scenario_records.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tratta {
namespace {

std::vector<uint8_t> encode(const ScenarioRecords& t)
{
    ByteBuffer out;
    encode_scenario_records(t, out);
    return {out.bytes().begin(), out.bytes().end()};
}

TEST(ScenarioRecords, EmptyTableIs87RecordsOf34ZeroBytes)
{
    ScenarioRecords t;
    const auto bytes = encode(t);
    ASSERT_EQ(bytes.size(), 87u * 34u);
    for (uint8_t b : bytes)
        ASSERT_EQ(b, 0);
}

TEST(ScenarioRecords, OnlyTheTwoNamesGive2958BytesPlusTheirLengths)
{
    ScenarioRecords t;
    t[85].text = "Tratta_Esempio";
    t[86].text = "TR 000 Esempio";
    EXPECT_EQ(encode(t).size(), 2958u + 14u + 14u);
}

TEST(ScenarioRecords, StationRecordFieldsStandAtTheirOffsets)
{
    ScenarioRecords t;
    ScenarioRecord& r = t[1];
    r.kind = 12;
    r.start_m = 2900;
    r.end_m = 3300;
    r.at_m = -1;
    r.flag_a = 1;
    r.text = "Roccafina"; // 9 characters
    r.int_a = 4;
    r.int_b = -2;
    r.int_c = 0x1234;
    r.int_d = 3;
    r.int_e = 1;
    r.flag_b = 5;
    r.flag_c = 6;
    r.flag_d = 7;
    r.flag_e = 8;
    r.time_s = 70520;

    const auto bytes = encode(t);
    ASSERT_EQ(bytes.size(), 87u * 34u + 9u);
    const std::size_t o = 34; // record 0 is 34 zero bytes
    const std::vector<uint8_t> expected = {
        12,                                        // kind
        0x54, 0x0B, 0, 0,                          // start_m 2900
        0xE4, 0x0C, 0, 0,                          // end_m 3300
        0xFF, 0xFF, 0xFF, 0xFF,                    // at_m -1
        1,                                         // flag_a
        9, 0,                                      // text length
        'R', 'o', 'c', 'c', 'a', 'f', 'i', 'n', 'a',
        4, 0, 0xFE, 0xFF, 0x34, 0x12, 3, 0, 1, 0,  // int_a..int_e
        5, 6, 7, 8,                                // flag_b..flag_e
        0x78, 0x13, 0x01, 0x00,                    // time_s 70520
    };
    ASSERT_EQ(expected.size(), 43u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + o, bytes.begin() + o + 43), expected);
    // The next record follows directly.
    EXPECT_EQ(bytes[o + 43], 0);
}

TEST(ScenarioRecords, TextTooLongForItsLengthFieldIsRefused)
{
    ScenarioRecords t;
    t[80].text.assign(65536, 'x');
    ByteBuffer out;
    EXPECT_THROW(encode_scenario_records(t, out), std::length_error);
}

TEST(ScenarioRecords, ClearEmptiesEveryField)
{
    ScenarioRecords t;
    t[3].text = "x";
    t[86].int_c = 19;
    t.clear();
    EXPECT_EQ(t[3], ScenarioRecord{});
    EXPECT_EQ(t[86], ScenarioRecord{});
}

} // namespace
} // namespace tratta
