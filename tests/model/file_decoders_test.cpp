#include "model/file_decoders.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tratta {
namespace {

std::string bytes_of(const ByteBuffer& b) { return std::string(b.bytes().begin(), b.bytes().end()); }

ScenarioRecords sample_records()
{
    ScenarioRecords t;
    auto& station = t[1];
    station = {8, -500, 500, 0, 1, "Portaurea", 4, 1, 2, 3, 1, 0, 1, 0, 0, 70520};
    t[80].text = "(  Cippo  )(Km 28+000)";
    t[85].text = "Tratta_Esempio";
    t[85].int_a = 610;
    t[85].time_s = -2147483647 - 1; // every bit of a field survives
    t[86].text = std::string("TR \xE8\x80", 5);
    t[86].int_e = -32768;
    t[84].flag_e = 255;
    return t;
}

TEST(FileDecoders, RecordsComeBackFieldForField)
{
    const ScenarioRecords t = sample_records();
    ByteBuffer out;
    encode_scenario_records(t, out);
    const ScenarioRecords back = decode_scenario_records(bytes_of(out));
    for (int i = 0; i < ScenarioRecords::count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i], t[i]);
    }
}

TEST(FileDecoders, CellsComeBackFieldForField)
{
    RouteCells grid;
    grid.create(0);
    grid.at(22) = {kind_signal, 42, 11, 11, 8, 199, 81, 3, 31, 255, 96};
    grid.at(140) = {kind_sign_board, -32768, 32767, -1, 1, 0, 0, 0, 0, 0, 1};
    ByteBuffer out;
    encode_route_cells(grid, out);
    const auto back = decode_route_cells(bytes_of(out));
    ASSERT_EQ(back.size(), grid.cells().size());
    EXPECT_EQ(back, grid.cells());
}

TEST(FileDecoders, LineTableComesBackElementForElementAndReencodesToTheSameBytes)
{
    LineProfile table;
    table.create(6);
    table.set_int16(0, 0, 0);
    table.set_int16(0, 1, 0);
    table.set_int16(1, 0, 0);
    table.set_int16(1, 1, 1);
    table.set_real(2, 0, 0.001);
    table.set_real(2, 1, 2);
    table.set_real(3, 0, -std::numeric_limits<double>::denorm_min());
    table.set_real(4, 1, 1e300);
    ByteBuffer out;
    encode_line_profile(table, out);

    const LineProfile back = decode_line_profile(bytes_of(out));
    ASSERT_EQ(back.last_m(), 6);
    for (int r = 0; r < 2; ++r)
        for (int64_t m = 0; m <= 6; ++m) {
            SCOPED_TRACE(m);
            EXPECT_EQ(back.tag(m, r), table.tag(m, r));
            EXPECT_EQ(std::signbit(back.get(m, r)), std::signbit(table.get(m, r)));
            EXPECT_EQ(back.get(m, r), table.get(m, r));
        }
    ByteBuffer again;
    encode_line_profile(back, again);
    EXPECT_EQ(again.bytes(), out.bytes());
}

// A file of the wrong size or layout is refused with a message, never read past its end.
TEST(FileDecoders, WrongSizesAndLayoutsAreRefused)
{
    ByteBuffer sim;
    encode_scenario_records(sample_records(), sim);
    const std::string good_sim = bytes_of(sim);
    RouteCells grid;
    grid.create(0);
    ByteBuffer dat;
    encode_route_cells(grid, dat);
    const std::string good_dat = bytes_of(dat);
    LineProfile table;
    table.create(1);
    table.set_real(0, 0, 1.5);
    ByteBuffer linea;
    encode_line_profile(table, linea);
    const std::string good_linea = bytes_of(linea); // x: 10 + 2 bytes, y: 2 + 2 bytes

    enum Decoder { sim_file, dat_file, linea_file };
    const struct {
        const char* what;
        Decoder decoder;
        std::string bytes;
        const char* message_part;
    } rows[] = {
        {"empty .sim", sim_file, "", "0 record"},
        {".sim cut inside its last record", sim_file, good_sim.substr(0, good_sim.size() - 1), "il file finisce"},
        {".sim with one byte more", sim_file, good_sim + "x", "1 byte in più"},
        {".sim with only 86 records", sim_file, good_sim.substr(34), ""},
        {"text length past the end", sim_file, std::string("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\xFF", 16), "servono 65535"},
        {"empty .dat", dat_file, "", "vuoto"},
        {".dat not a multiple of 15", dat_file, good_dat + "\x01", "multiplo di 15"},
        {"empty _linea.dat", linea_file, "", "vuoto"},
        {"unknown tag", linea_file, std::string("\x03\0", 2), "tipo di elemento 3"},
        {"real cut short", linea_file, good_linea.substr(0, 5), "il file finisce"},
        {"odd number of elements", linea_file, good_linea + std::string("\0\0", 2), "dispari"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        try {
            switch (row.decoder) {
            case sim_file: decode_scenario_records(row.bytes); break;
            case dat_file: decode_route_cells(row.bytes); break;
            case linea_file: decode_line_profile(row.bytes); break;
            }
            ADD_FAILURE() << "accepted";
        } catch (const LayoutError& e) {
            EXPECT_NE(std::string(e.what()).find(row.message_part), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace tratta
