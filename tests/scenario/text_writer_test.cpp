#include "app/scenario_files.hpp"
#include "scenario/text_writer.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tratta {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

TEST(TextWriter, LinesEndWithCrLfAndTheEndMarkerIsNeverWritten)
{
    const std::string_view lines[] = {"", "orologio,    19              35            20 ", "[fine]", end_marker,
                                      "after the marker"};
    EXPECT_EQ(encode_data_set(lines), "\r\norologio,    19              35            20 \r\n[fine]\r\n");
}

TEST(TextWriter, AccentedLettersBecomeSingleWindows1252Bytes)
{
    const std::string_view lines[] = {"velocità è più", "€ and ω", end_marker};
    EXPECT_EQ(encode_data_set(lines), "velocit\xE0 \xE8 pi\xF9\r\n\x80 and ?\r\n");
}

TEST(TextWriter, TheMarkerMustMatchExactly)
{
    const std::string_view lines[] = {"Riferimento fine del file", "riferimento fine del file ", end_marker};
    EXPECT_EQ(encode_data_set(lines), "Riferimento fine del file\r\nriferimento fine del file \r\n");
}

TEST(TextWriter, ADataSetWithoutMarkerStopsAtItsLastEntryOrTheCapacity)
{
    const std::string_view two[] = {"a", "b"};
    EXPECT_EQ(encode_data_set(two), "a\r\nb\r\n");

    std::vector<std::string_view> many(1200, "x");
    EXPECT_EQ(encode_data_set(many).size(), 1001u * 3u);
}

TEST(TextWriter, AnOlderLongerFileIsReplacedWhole)
{
    TempFolder dir;
    const auto file = dir / "documento.txt";
    write_bytes(file, std::string(5000, 'Z'));
    const std::string_view lines[] = {"nuovo", end_marker};
    scrivi_dati(file, lines);
    EXPECT_EQ(read_bytes(file), "nuovo\r\n");
}

} // namespace
} // namespace tratta
