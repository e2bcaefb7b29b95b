#pragma once
// The scenario a packed program carries: appended to the program's own file,
// its texts one after the other, each with its length, then a footer of fixed
// size that says what stands before it: a magic word, the version of the
// layout, the number of texts, the length of the texts and their checksum.
// Every length is checked before anything is read.

#include "app/scenario_texts.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace tratta {

inline constexpr std::string_view payload_magic = "TRATTAPK";
inline constexpr uint32_t payload_version = 1;
inline constexpr std::size_t payload_footer_bytes = 28; // magic 8, version 4, texts 4, length 8, checksum 4
inline constexpr std::size_t payload_texts = 7;          // two names and five texts
inline constexpr uint64_t payload_largest = 64u * 1024u * 1024u; // the most a packed program reads

// The payload's bytes: the texts, then the footer.
std::string encode_payload(const ScenarioTexts& texts);

// What went wrong with a payload, in the driver's words.
struct PayloadProblem {
    std::string message;
};

// The scenario at the end of these bytes (a program file read whole, or its
// last part): the texts, or why there are none. Names that could not stand
// as file names in the program's folder (a separator, "..", a drive, a
// device, a control byte, too long) are refused like a damaged payload.
std::variant<ScenarioTexts, PayloadProblem> decode_payload(std::string_view bytes);

// The same, read from the end of a file without reading the program before it.
std::variant<ScenarioTexts, PayloadProblem> read_payload(const std::filesystem::path& program);

// Where the payload begins in these bytes, or the whole size when there is none:
// the program a payload was appended to.
std::size_t program_part(std::string_view bytes);

// CRC-32 (IEEE 802.3) of the bytes.
uint32_t crc32(std::string_view bytes);

} // namespace tratta
