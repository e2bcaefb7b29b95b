// The scenario a packed program carries: written and read back whole, and
// every way it can be missing or damaged refused with a message.
#include "app/payload.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace tratta {
namespace {

ScenarioTexts sample()
{
    return {"Valle", "R 101", "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n", "[generale]\r\n[fine]\r\n",
            "  Note\r\n", "\r\n Modulo\r\n", std::string("Citt\xE0\r\n", 7)};
}

std::string packed(const std::string& program = "\x7f" "ELF program bytes") { return program + encode_payload(sample()); }

TEST(Payload, ComesBackWholeFromTheEndOfTheProgram)
{
    const std::string bytes = packed();
    const auto back = decode_payload(bytes);
    ASSERT_TRUE(std::holds_alternative<ScenarioTexts>(back)) << std::get<PayloadProblem>(back).message;
    EXPECT_EQ(std::get<ScenarioTexts>(back), sample());
    EXPECT_EQ(program_part(bytes), std::string("\x7f" "ELF program bytes").size());
    EXPECT_EQ(program_part("no payload here"), 15u);
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u); // the check value of CRC-32
}

// Each byte of the footer's fields at the end of the file: 8 magic, 4
// version, 4 texts, 8 length, 4 checksum.
std::string with_byte(std::string bytes, std::size_t from_end, char value)
{
    bytes[bytes.size() - from_end] = value;
    return bytes;
}

TEST(Payload, MissingTruncatedDamagedOrOtherVersionsAreRefused)
{
    const std::string good = packed();
    const struct {
        const char* what;
        std::string bytes;
        const char* message_part;
    } rows[] = {
        {"a runner with no scenario", "\x7f" "ELF program bytes", "manca"},
        {"an empty file", "", "manca"},
        {"the footer cut short", good.substr(0, good.size() - 3), "manca"},
        {"the texts cut at the front", good.substr(good.size() - 40), "troncato"},
        {"a byte of a text changed", with_byte(good, 40, 'X'), "danneggiato"},
        {"another version", with_byte(good, 20, '\x02'), "versione 2"},
        {"another number of texts", with_byte(good, 16, '\x06'), "6 testi"},
        {"a length beyond the file", with_byte(good, 9, '\x7f'), "troncato"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto back = decode_payload(row.bytes);
        ASSERT_TRUE(std::holds_alternative<PayloadProblem>(back));
        EXPECT_NE(std::get<PayloadProblem>(back).message.find(row.message_part), std::string::npos)
            << std::get<PayloadProblem>(back).message;
    }
}

} // namespace
} // namespace tratta
