#include "autore/decompile/decompile.hpp"

#include "tools/decompile/decompile_support.hpp"
#include "tools/tool_support.hpp"

#include "model/byte_buffer.hpp"
#include "model/file_decoders.hpp"

#include <gtest/gtest.h>

#include <functional>

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
    // The second curve goes on from the first where no line may begin.
    {"curve_that_goes_on_where_the_grid_refuses_a_start",
     {{}, {"curvas3,  6800,  150", "curvad5,  6850,  1000"}, {}, {}, "0"}},
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
    // Marked mountains laid over each other so that their markers are out of
    // step with the stretches their sides leave.
    {"marked_mountain_inside_a_later_marked_one_out_of_step",
     {{},
      {"montagna,  2725,  5412,  12", "montagna,  10525,  10814,  12", "montagna,  1000,  3719,  7",
       "montagna,  8025,  11010,  11"},
      {},
      {},
      "8500"}},
    {"marked_mountain_under_a_close_one_and_a_later_one",
     {{}, {"montagna,  9000,  12000,  11", "montagna,  50,  300,  0", "montagna,  7900,  9600,  8"}, {}, {}, "6500"}},
    {"mountain_side_left_only_in_the_last_two_cells",
     {{}, {"montagna,  5950,  8855,  2", "montagna,  4500,  6950,  3"}, {}, {}, "0"}},
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
    // The second signal writes over two of the first one's approach cells
    // numbers that another sum would give in those two cells alone.
    {"signal_whose_own_approach_cell_alone_tells_its_sum",
     {{},
      {},
      {},
      {"segnale,    300,   3, 8, 1,  1, 2,    1,  2,1,1, 0", "segnale,    500,   1, 9, 1,  1, 0,    2,  2,1,1, 199"}}},
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

// The small scenario with one station, one signal and a slowdown, compiled into dir.
void compile_small(const fs::path& dir)
{
    ScenarioLines lines;
    lines.line_body = {"curvad4,  1000,  300", "pendenza,  2000,  5", "montagna,  3000,  4000,  12"};
    lines.train_body = with_alfa({"velocita,  0,  100", "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
                                  "rallentamento,  5000,    60,  500, 0,  1,  0"});
    ASSERT_EQ(compile_lines(dir, lines).status, 0);
}

const fs::path records_name = "Valle_R 101.sim";
const fs::path grid_name = "Valle_R 101.dat";
const fs::path table_name = "Valle_linea.dat";

void edit_records(const fs::path& file, const std::function<void(tratta::ScenarioRecords&)>& edit)
{
    auto records = tratta::decode_scenario_records(read_bytes(file));
    edit(records);
    tratta::ByteBuffer out;
    tratta::encode_scenario_records(records, out);
    write_bytes(file, tratta::as_text(out.bytes()));
}

TEST(Decompile, FilesThatNoSourcesGiveAreWrittenAsNearAsCanBeWithEveryDifferingField)
{
    TempFolder dir;
    compile_small(dir / "dati");
    // A check code edited by hand, and an approach number that no signal or station gives.
    edit_records(dir / "dati" / records_name, [](auto& r) { r[85].time_s += 1; });
    std::string grid = read_bytes(dir / "dati" / grid_name);
    grid[15 * 50 + 10] = 99;
    write_bytes(dir / "dati" / grid_name, grid);
    const auto run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out.find("esatto"), std::string::npos);
    EXPECT_NE(run.err.find("non esatto"), std::string::npos);
    EXPECT_NE(run.err.find("file .sim, record 85, campo time_s"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("file .dat, cella 50 (2500 m), campo approach: 99 nel file dato, 0 dai sorgenti"),
              std::string::npos)
        << run.err;
    // The nearest sources are written all the same, and give the rest.
    EXPECT_TRUE(fs::exists(dir / "sorgenti" / "Valle_linea.txt"));
    EXPECT_NE(read_bytes(dir / "sorgenti" / "Valle_R 101-.txt").find("Alfa"), std::string::npos);
}

TEST(Decompile, ARecordedDataErrorIsNeverCalledExact)
{
    TempFolder dir;
    ScenarioLines lines;
    // A chainage off the 50 m grid: the compile records error 2 and writes the files.
    lines.line_general = {"progressiva chilometrica uno,  1025,  0,  0"};
    ASSERT_EQ(compile_lines(dir / "dati", lines).status, 2);
    const auto run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("registra l'errore 2"), std::string::npos) << run.err;
}

TEST(Decompile, WithoutTheLineTableTheResultIsNotExact)
{
    TempFolder dir;
    compile_small(dir / "dati");
    fs::remove(dir / "dati" / table_name);
    const auto run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("manca il file _linea.dat"), std::string::npos) << run.err;
    EXPECT_EQ(read_bytes(dir / "sorgenti" / "Valle_linea.txt").find("curva"), std::string::npos);
}

struct DamageCase {
    const char* name;
    fs::path file;
    std::function<void(const fs::path& dir)> damage;
    const char* words; // what the message says is wrong
};

const DamageCase damage_cases[] = {
    {"grid_cut_short", grid_name,
     [](const fs::path& d) {
         const auto g = read_bytes(d / grid_name);
         write_bytes(d / grid_name, g.substr(0, g.size() - 7));
     },
     "formato non valido"},
    {"grid_of_another_route", grid_name,
     [](const fs::path& d) {
         const auto g = read_bytes(d / grid_name);
         write_bytes(d / grid_name, g.substr(0, g.size() - 15));
     },
     "non sono dello stesso scenario"},
    {"records_of_random_bytes", records_name,
     [](const fs::path& d) { write_bytes(d / records_name, std::string(500, '\x5a')); }, "formato non valido"},
    {"records_without_the_stamp", records_name,
     [](const fs::path& d) { edit_records(d / records_name, [](auto& r) { r[85].int_a = 0; }); }, "timbro 610"},
    {"route_length_out_of_range", records_name,
     [](const fs::path& d) { edit_records(d / records_name, [](auto& r) { r[84].end_m = -50; }); },
     "lunghezza del percorso"},
    {"grid_without_the_stamp", grid_name,
     [](const fs::path& d) {
         auto g = read_bytes(d / grid_name);
         g[15 + 1] = 0;
         g[15 + 2] = 0;
         write_bytes(d / grid_name, g);
     },
     "timbro 5121"},
    {"line_table_of_another_route", table_name,
     [](const fs::path& d) {
         const auto t = read_bytes(d / table_name);
         // One metre less in each coordinate: the last real point before the two empty ones dropped.
         const auto half = t.size() / 2;
         const auto shorter = [&](std::size_t from) {
             return t.substr(from, half - 14) + t.substr(from + half - 4, 4);
         };
         write_bytes(d / table_name, shorter(0) + shorter(half));
     },
     "non sono dello stesso scenario"},
};

class DamagedFiles : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFiles, AreNamedWithWhatIsWrongAndNothingIsWritten)
{
    TempFolder dir;
    compile_small(dir / "dati");
    GetParam().damage(dir / "dati");
    const auto run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(GetParam().file.string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(GetParam().words), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "sorgenti"));
}

INSTANTIATE_TEST_SUITE_P(Decompile, DamagedFiles, ::testing::ValuesIn(damage_cases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Decompile, SourcesAlreadyThereAreKeptUnlessForced)
{
    TempFolder dir;
    compile_small(dir / "dati");
    fs::create_directories(dir / "sorgenti");
    write_bytes(dir / "sorgenti" / "Valle_linea.txt", "mio");
    auto run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("esiste già"), std::string::npos);
    EXPECT_EQ(read_bytes(dir / "sorgenti" / "Valle_linea.txt"), "mio");
    EXPECT_FALSE(fs::exists(dir / "sorgenti" / "Valle_R 101-.txt"));
    run = run_tool({"decompile", (dir / "dati").string(), "-o", (dir / "sorgenti").string(), "--force"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(read_bytes(dir / "sorgenti" / "Valle_linea.txt"), "mio");
}

TEST(Decompile, TheCompiledFilesMayBeNamedOneByOneAndTheSourcesRenamed)
{
    TempFolder dir;
    compile_small(dir / "dati");
    const auto run = run_tool({"decompile", (dir / "dati" / records_name).string(), (dir / "dati" / grid_name).string(),
                               (dir / "dati" / table_name).string(), "-o", (dir / "sorgenti").string(), "--scenario",
                               "Monte", "--train", "Diretto"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "sorgenti" / "Monte_linea.txt"));
    EXPECT_TRUE(fs::exists(dir / "sorgenti" / "Monte_Diretto-.txt"));
}

} // namespace
} // namespace autore
