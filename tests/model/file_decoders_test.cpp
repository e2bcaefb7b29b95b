#include "model/file_decoders.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace tratta {
namespace {

std::string bytes_of(const ByteBuffer& b) { return std::string(b.bytes().begin(), b.bytes().end()); }

// One element of a line table file: its tag and value.
struct Element {
    ProfileTag tag;
    double value = 0;
};

// A line table file written element by element: all x, then all y. The
// compile lays its plan from the origin on; a file from elsewhere may hold any
// order of tags, and the reader must take it as it is.
std::string line_table_file(const std::vector<Element>& x, const std::vector<Element>& y)
{
    ByteBuffer out;
    for (const auto* run : {&x, &y})
        for (const Element& e : *run) {
            out.put_u16(static_cast<uint16_t>(e.tag));
            if (e.tag == ProfileTag::int16)
                out.put_i16(static_cast<int16_t>(e.value));
            else if (e.tag == ProfileTag::real)
                out.put_f64(e.value);
        }
    return bytes_of(out);
}

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

TEST(FileDecoders, LineTableComesBackElementForElement)
{
    constexpr auto i16 = ProfileTag::int16;
    constexpr auto real = ProfileTag::real;
    constexpr auto none = ProfileTag::empty;
    const std::vector<Element> x = {{i16, 0}, {i16, 0}, {real, 0.001}, {real, -std::numeric_limits<double>::denorm_min()},
                                    {none}, {none}, {none}};
    const std::vector<Element> y = {{i16, 0}, {i16, 1}, {real, 2}, {none}, {real, 1e300}, {none}, {none}};

    const DecodedLineProfile back = decode_line_profile(line_table_file(x, y));
    ASSERT_EQ(back.last_m(), 6);
    for (int r = 0; r < 2; ++r)
        for (int64_t m = 0; m <= 6; ++m) {
            SCOPED_TRACE(m);
            const Element& e = (r == 0 ? x : y)[static_cast<std::size_t>(m)];
            EXPECT_EQ(back.tag(m, r), e.tag);
            EXPECT_EQ(std::signbit(back.get(m, r)), std::signbit(e.value));
            EXPECT_EQ(back.get(m, r), e.value);
        }
}

TEST(FileDecoders, TheCompilesLineTableComesBackAsLaid)
{
    LineProfile table;
    table.create(9);
    table.set_start(0, 0, 0, 1);
    table.append(0.001, 2);
    table.append(0.003, 2.999999);
    ASSERT_EQ(table.next_metre(), 4);
    std::vector<std::pair<ProfileTag, double>> laid;
    for (int r = 0; r < 2; ++r)
        for (int64_t m = 0; m <= 9; ++m)
            laid.emplace_back(table.tag(m, r), table.get(m, r));

    const Bytes file = table.take_file();
    const DecodedLineProfile back = decode_line_profile(as_text(file));
    std::size_t i = 0;
    for (int r = 0; r < 2; ++r)
        for (int64_t m = 0; m <= 9; ++m, ++i) {
            SCOPED_TRACE(m);
            EXPECT_EQ(back.tag(m, r), laid[i].first);
            EXPECT_EQ(back.get(m, r), laid[i].second);
        }
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
    const std::string good_linea = line_table_file({{ProfileTag::real, 1.5}, {ProfileTag::empty}},
                                                   {{ProfileTag::empty}, {ProfileTag::empty}}); // x: 10 + 2 bytes, y: 2 + 2 bytes

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
