#include "autore/decompile/decompile.hpp"

#include "tools/decompile/decompile_support.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

namespace fs = std::filesystem;
using testing::compile_lines;
using testing::run_tool;
using testing::ScenarioLines;
using testing::three_files;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Decompiles the scenario in `from` into `to`, compiles what it wrote there
// and gives the exit status of the decompile.
int decompile_and_compile(const fs::path& from, const fs::path& to, std::string* messages = nullptr)
{
    const auto run = run_tool({"decompile", from.string(), "-o", to.string()});
    if (messages)
        *messages = run.out + run.err;
    if (run.status == 1)
        return 1;
    CompileRequest rq;
    rq.line_file = to / "Valle_linea.txt";
    rq.train_file = to / "Valle_R 101-.txt";
    rq.out_dir = to;
    compile_sources(rq);
    return run.status;
}

TEST(Decompile, EmbeddedScenarioComesBackExactAndReadsAsItsAuthorWroteIt)
{
    TempFolder dir;
    ASSERT_EQ(testing::compile_embedded(dir.path()), 0);
    const auto run = run_tool({"decompile", dir.path().string(), "-o", (dir / "sorgenti").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("esatto"), std::string::npos);
    const auto line = read_bytes(dir / "sorgenti" / "Tratta_Esempio_linea.txt");
    const auto train = read_bytes(dir / "sorgenti" / "Tratta_Esempio_TR 000 Esempio-.txt");
    for (const char* part : {"[generale]\r\n", "lunghezza percorso,", "[curve]\r\n", "curvas1,    1350,   150\r\n",
                             "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]", "(  Cippo  )(Km 28+000)",
                             "[fine]\r\n"})
        EXPECT_NE(line.find(part), std::string::npos) << part;
    for (const char* part : {"orologio,", "[aderenze]", "[vel_limite]", "[stazioni]", "Portaurea Centrale",
                             "[rallentamenti]", "[segnali]", "[codici]"})
        EXPECT_NE(train.find(part), std::string::npos) << part;
    // The code points are the author's 270s: none of the finishing pass's 180s.
    EXPECT_EQ(count(train, "abbattimento"), count(train, "270\r\n"));
    // Compiled by the tool, the sources give the program's three files.
    CompileRequest rq;
    rq.line_file = dir / "sorgenti" / "Tratta_Esempio_linea.txt";
    rq.train_file = dir / "sorgenti" / "Tratta_Esempio_TR 000 Esempio-.txt";
    rq.out_dir = dir / "sorgenti";
    ASSERT_EQ(compile_sources(rq).exit_status, 0);
    EXPECT_TRUE(three_files(dir.path(), "Tratta_Esempio", "TR 000 Esempio") ==
                three_files(dir / "sorgenti", "Tratta_Esempio", "TR 000 Esempio"));
}

struct RoundTripCase {
    const char* name;
    ScenarioLines lines;
};

const std::vector<std::string> station_alfa{
    "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa"};

std::vector<std::string> with_alfa(std::vector<std::string> more)
{
    more.insert(more.begin(), station_alfa.begin(), station_alfa.end());
    return more;
}

const RoundTripCase round_trip_cases[] = {
    {"every_curvature_class_both_ways",
     {{},
      {"curvad1,  100,  200", "curvas1,  400,  200", "curvad2,  700,  200", "curvas2,  1000,  200",
       "curvad3,  1300,  200", "curvas3,  1600,  200", "curvad4,  1900,  200", "curvas4,  2200,  200",
       "curvad5,  2500,  200", "curvas5,  2800,  200", "curvad6,  3100,  200", "curvas6,  3400,  200"},
      {},
      {}}},
    {"curves_that_touch_and_overlap",
     {{},
      {"curvad3,  1000,  500", "curvas5,  1500,  300", "curvas5,  1800,  100", "curvad2,  1850,  400",
       "curvad4,  5000,  0", "curvas1,  9000,  8000"},
      {},
      {}}},
    {"gradients_below_and_above_level_and_behind_the_cursor",
     {{},
      {"pendenza,  0,  -100", "pendenza,  500,  155", "pendenza,  1250,  -4", "pendenza,  1275,  7",
       "pendenza,  1200,  3", "pendenza,  9900,  200"},
      {},
      {}}},
    {"overlapping_speed_and_adhesion_lines",
     {{},
      {},
      {},
      {"aderenza,  500,  80", "aderenza,  4000,  300", "aderenza,  3000,  12", "velocita,  0,  100",
       "velocita,  0,  60", "velocita,  3000,  1275", "velocita,  2000,  37", "velocita,  9000,  0"}}},
    {"mountains_with_and_without_markers_and_close_together",
     {{},
      {"montagna,  1600,  2000,  5", "montagna,  500,  1500,  2", "montagna,  2500,  3000,  14",
       "montagna,  3050,  3600,  4", "montagna,  6000,  6020,  2", "montagna,  7000,  9000,  12"},
      {},
      {}}},
    {"speed_boards_and_sign_boards",
     {{},
      {"indicatori_vmax,  1000,  90,  95,  100,  0,  ,  ,  ,  0",
       "indicatori_vmax,  2000,  85,  90,  95,  1,  87,  88,  12,  3", "indicatori_vmax,  2900,  -5,  0,  1,  -2,  0,  0,  4,  -7",
       "cartello_indicatore,  5000,   (Km 5+000)", "cartello_indicatore,  4000,   \"Bivio, nord\"",
       "cartello_indicatore,  4500,", "montagna,  2000,  4000,  12"},
      {},
      {}}},
    {"stations_of_every_kind",
     {{},
      {},
      {},
      with_alfa({"stazione,    3000,  5,  300,  1, 1, 1,  2,3,4,  5,6,7,    8,  12, 30, 15, Beta",
                 "stazione,    4000,  7,  200,  0, 1, 1,  0,0,0,  0,0,0,    0,   0, 0, 0, Gamma",
                 "stazione,    5000, 27,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,  23, 59, 59, Delta",
                 "stazione,    6000, 12,  800,  3, 2, 2,  -1,9,255,  -300,0,1,    0,   0, 0, 1, \"Riva, Porto\"",
                 "stazione,    8000,  6,  0,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Épsilon"})}},
    {"first_station_moved_by_its_third_flag",
     {{}, {}, {}, {"stazione,    1000, 12,  600,  0, 1, 1,  0,0,0,  0,0,0,    0,  19, 35, 20, Alfa"}}},
    {"slowdowns_signals_and_code_points",
     {{},
      {},
      {},
      with_alfa({"rallentamento,  4000,    60, 1000, 3,  1,  0", "rallentamento,  1200,   120,  300, 0,  1,  0",
                 "rallentamento,  7000,    80,  500, 0,  0,  70", "rallentamento,  8500,    50,    0, 0,  0,  0",
                 "segnale,    2000,   1, 4, 1,  1, 0,    0,  2,1,1, 0", "segnale,    2900,   2, 3, 1,  0, 1,    1,  1,1,0, 50",
                 "segnale,    5200,   3, 1, 2,  3, 4,    2,  5,6,7, 9", "segnale,    6800,   2, 0, 0,  0, 0,    0,  0,0,0, 0",
                 "abbattimento,  2500,  270", "abbattimento,  3300,  0", "abbattimento,  6000,  180",
                 "abbattimento,  9000,  32767"})}},
    {"general_values_chainages_and_signal_repetition",
     {{"progressiva chilometrica uno,  1000,  3050,  0", "progressiva chilometrica due,  5000,  -5000,  0",
       "progressiva chilometrica tre,  8000,  20000,  1", "sfondo uno,  3", "sfondo due,  -1", "sfondo tre,  7",
       "ripetizione segnali 4 codici,  1000,  9000"},
      {},
      {"numero vetture,  11", "percentuale massa frenata,  140", "sabbia,  -3", "orologio,  25  75  -1"},
      {}}},
    {"chainages_with_equal_starts",
     {{"progressiva chilometrica uno,  5000,  100,  0", "progressiva chilometrica due,  5000,  200,  1",
       "progressiva chilometrica tre,  2000,  50,  2", "ripetizione segnali 9 codici,  700,  0"},
      {},
      {},
      {}}},
    {"chainage_at_the_origin",
     {{"progressiva chilometrica due,  0,  500,  0"}, {}, {}, {}}},
    {"shortest_route", {{}, {}, {}, {}, "0"}},
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, SourcesWrittenBackCompileToTheSameBytes)
{
    TempFolder dir;
    const auto compiled = compile_lines(dir / "dati", GetParam().lines);
    ASSERT_EQ(compiled.status, 0);
    std::string messages;
    EXPECT_EQ(decompile_and_compile(dir / "dati", dir / "sorgenti", &messages), 0) << messages;
    EXPECT_TRUE(three_files(dir / "dati") == three_files(dir / "sorgenti")) << messages;
}

INSTANTIATE_TEST_SUITE_P(Decompile, RoundTrip, ::testing::ValuesIn(round_trip_cases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace autore
