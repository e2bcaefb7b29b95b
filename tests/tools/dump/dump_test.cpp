#include "autore/dump/dump.hpp"

#include "app/file_names.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "autore/route/table_fields.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"
#include "tools/small_scenario.hpp"
#include "support/special_files.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <streambuf>

#include <sys/wait.h>
#include <unistd.h>

namespace autore {
namespace {

using nlohmann::json;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

// The small scenario compiled by the program's own compile step, its tables
// kept beside the three files written.
struct Compiled {
    TempFolder dir;
    std::unique_ptr<AuthorScenario> scenario;
    const tratta::RunState& state;
    tratta::DecodedLineProfile line_table; // as made, element by element
    tratta::FileNames files;
    Compiled()
        : scenario(compile_here(dir)), state(scenario->result.model),
          line_table(tratta::decode_line_profile(tratta::as_text(scenario->result.files.line_table))),
          files(tratta::file_names(dir.path(), "Valle", "R 101"))
    {
    }

    static std::unique_ptr<AuthorScenario> compile_here(const TempFolder& dir)
    {
        const auto sources =
            testing::write_small_scenario(dir.path(), {}, {"rallentamento,  6000,    60, 1000, 0,  1,  0"}, "Valle", "R 101");
        CompileRequest rq;
        rq.line_file = sources.line_file;
        rq.train_file = sources.train_file;
        rq.out_dir = dir.path();
        EXPECT_EQ(compile_sources(rq).exit_status, 0);
        return compile_author_files(rq, tratta::CompilePurpose::author_files).scenario;
    }
};

json dumped(const std::filesystem::path& file, const std::vector<std::string>& options = {})
{
    std::vector<std::string> args = {"dump", file.string(), "--json"};
    args.insert(args.end(), options.begin(), options.end());
    const auto run = testing::run_tool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out);
}

TEST(Dump, JsonGivesBackEveryFieldOfACompiledScenario)
{
    Compiled c;
    ASSERT_EQ(c.state.error_code, 0);

    const json records = dumped(c.files.records)["records"];
    ASSERT_EQ(records.size(), 87u);
    for (int i = 0; i < 87; ++i) {
        SCOPED_TRACE(i);
        const auto& r = c.state.records[i];
        for (const auto& f : record_fields(r))
            EXPECT_EQ(records[static_cast<std::size_t>(i)][std::string(f.name)].get<int64_t>(), f.value) << f.name;
        EXPECT_EQ(records[static_cast<std::size_t>(i)]["text"], tratta::cp1252_to_utf8(r.text));
    }

    const json cells = dumped(c.files.grid)["cells"];
    ASSERT_EQ(cells.size(), c.state.cells.cells().size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& cell = c.state.cells.cells()[i];
        for (const auto& f : cell_fields(cell))
            ASSERT_EQ(cells[i][std::string(f.name)].get<int64_t>(), f.value) << "cell " << i << " " << f.name;
        ASSERT_EQ(cells[i]["kind_name"], kind_name(cell.kind));
    }

    const json table = dumped(c.files.line_table, {"--step", "1"});
    ASSERT_EQ(table["last_m"].get<int64_t>(), c.line_table.last_m());
    const json& points = table["points"];
    ASSERT_EQ(points.size(), static_cast<std::size_t>(c.line_table.last_m() + 1));
    for (std::size_t m = 0; m < points.size(); ++m)
        for (int r = 0; r < 2; ++r) {
            const auto metre = static_cast<int64_t>(m);
            const json& v = points[m][r == 0 ? "x" : "y"];
            if (c.line_table.tag(metre, r) == tratta::ProfileTag::empty)
                ASSERT_TRUE(v.is_null()) << m;
            else
                ASSERT_EQ(v.get<double>(), c.line_table.get(metre, r)) << m;
        }
}

TEST(Dump, TextNamesEachFieldByWhatItMeansAndWhereItCameFrom)
{
    Compiled c;
    const auto records = testing::run_tool({"dump", c.files.records.string()});
    EXPECT_EQ(records.status, 0);
    for (const char* line : {
             "record  1: stazione «Alfa»\n",
             "    kind             12  tipo ← «stazione», «tipo» (campo 2)\n",
             "    at_m           1000  posizione ← «stazione», «posizione» (campo 1)\n",
             "record 84: treno e percorso\n",
             "    end_m         10000  lunghezza del percorso ← «lunghezza percorso», «lunghezza» (campo 1)\n",
             "record 85: scenario «Valle»\n",
             "    int_a           610  timbro ← sempre 610\n",
             "record 86: corsa «R 101»\n",
         })
        EXPECT_NE(records.out.find(line), std::string::npos) << line << records.out;

    const auto cells = testing::run_tool({"dump", c.files.grid.string(), "--objects"});
    EXPECT_EQ(cells.status, 0);
    for (const char* line : {
             "la cella i sta a i × 50 m dall'origine del percorso\n",
             "compare nella griglia 50 m dopo la posizione del file\n",
             "    primo valore (value): primo valore del segnale ← «segnale», «decine del primo valore» (campo 3) × 10 + "
             "«unità del primo valore» (campo 8)\n",
             "cella    61     3050 m  segnale (1), posizione del segnale circa 3000 m: primo valore 42, secondo valore "
             "11, terzo valore 11, quarto valore 8\n",
             "inizio rallentamento (3), inizio del rallentamento circa 6000 m: velocità 60\n",
             "fermata di stazione (10), fine della zona di stazione circa 1200 m: record della stazione 1\n",
         })
        EXPECT_NE(cells.out.find(line), std::string::npos) << line << cells.out;
    EXPECT_EQ(cells.out.find("m  -"), std::string::npos) << "--objects shows only cells with an object";
    EXPECT_EQ(cells.out.find("velocità massima 100 km/h"), std::string::npos) << "--objects leaves the track out";

    const auto grid = testing::run_tool({"dump", c.files.grid.string()});
    EXPECT_NE(grid.out.find("cella     1       50 m  -: timbro 5121, codice di controllo "), std::string::npos);
    // Cell i holds the gradient in force at i × 50 m: the line "pendenza, 2000, 5" begins at cell 40.
    EXPECT_NE(grid.out.find("cella    39     1950 m  - | velocità massima 100 km/h, pendenza +0 ‰, aderenza 80\n"),
              std::string::npos);
    EXPECT_NE(grid.out.find("cella    40     2000 m  - | velocità massima 100 km/h, pendenza +5 ‰, aderenza 80\n"),
              std::string::npos);

    const auto table = testing::run_tool({"dump", c.files.line_table.string(), "--step", "5000"});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("metri 0..17000"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("      5000            0.000         5000.000"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("     17000            vuoto            vuoto"), std::string::npos) << table.out;
}

TEST(Dump, TheConversionsOfTheCompileAreStated)
{
    TempFolder dir;
    const auto sources = testing::write_small_scenario(dir.path());
    auto line_lines = testing::small_line_lines();
    line_lines.insert(line_lines.begin() + 2, {"progressiva chilometrica tre,  5000,  20000,  1",
                                   "progressiva chilometrica uno,  1000,  0,  0"});
    line_lines.insert(line_lines.end() - 1, {"[cartelli]", "indicatori_vmax,  1000,  90,  95,  100,  0,  85,  ,  ,  2",
                                 "[indicazioni]", "cartello_indicatore,  4000,  (Km 16+000)"});
    tratta::testing::write_bytes(sources.line_file, tratta::testing::crlf_lines(line_lines));
    CompileRequest rq;
    rq.line_file = sources.line_file;
    rq.train_file = sources.train_file;
    rq.out_dir = dir.path();
    ASSERT_EQ(compile_sources(rq).exit_status, 0);
    const auto files = tratta::file_names(dir.path(), "Valle", "R 101");

    const auto records = testing::run_tool({"dump", files.records.string()});
    for (const char* line : {
             "record 81: progressiva chilometrica (delle tre, quella che comincia più avanti",
             "    end_m         20100  scostamento ← una delle tre righe «progressiva chilometrica», «scostamento» "
             "(campo 2), più 100 quando il verso è 1 (chilometri decrescenti)\n",
             "                 20000  scostamento scritto nel file: la compilazione aggiunge 100 quando i chilometri "
             "decrescono\n",
             "record 80: testo di cartello «(Km 16+000)»\n",
         })
        EXPECT_NE(records.out.find(line), std::string::npos) << line << records.out;

    const auto cells = testing::run_tool({"dump", files.grid.string(), "--objects"});
    for (const char* line : {
             "cella    21     1050 m  indicatore di velocità (6), posizione del cartello circa 1000 m: velocità 1 e 4 "
             "1817 (90 e 85 km/h), velocità 2 e 5 1900 (95 e 0 km/h), velocità 3 e 6 2000 (100 e 0 km/h), tipi 2 "
             "(0 e 2) | approccio 82\n",
             "cella    81     4050 m  cartello indicatore (14), posizione del cartello circa 4000 m: record del testo 80\n",
         })
        EXPECT_NE(cells.out.find(line), std::string::npos) << line << cells.out;

    const json sim = dumped(files.records);
    EXPECT_EQ(sim["records"][81]["role"], "chainage");
    EXPECT_EQ(sim["records"][81]["end_m"], 20100);
    EXPECT_EQ(sim["records"][81]["end_m_as_written"], 20000);
    EXPECT_FALSE(sim["records"][83].contains("end_m_as_written"));
    EXPECT_EQ(sim["records"][80]["role"], "board_text");
    EXPECT_EQ(sim["records"][1]["role"], "station");
    EXPECT_EQ(sim["records"][0]["role"], "empty");
}

TEST(Dump, AnOptionForAnotherKindOfFileIsRefused)
{
    Compiled c;
    const struct {
        std::vector<std::string> args;
        const char* message_part;
    } rows[] = {
        {{"dump", c.files.records.string(), "--objects"}, "--objects vale solo per la griglia del percorso"},
        {{"dump", c.files.line_table.string(), "--objects"}, "--objects vale solo"},
        {{"dump", c.files.records.string(), "--step", "5"}, "--step vale solo per la tabella della linea"},
        {{"dump", c.files.grid.string(), "--step", "5"}, "la griglia del percorso (.dat)"},
        {{"dump", c.files.grid.string(), "--type", "sim", "--objects"}, "il file dei record dello scenario (.sim)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[1] + " " + row.args[2]);
        const auto run = testing::run_tool(row.args);
        EXPECT_EQ(run.status, 64);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
    }
    EXPECT_EQ(testing::run_tool({"dump", c.files.grid.string(), "--objects"}).status, 0);
    EXPECT_EQ(testing::run_tool({"dump", c.files.line_table.string(), "--step", "5"}).status, 0);
}

TEST(Dump, AFileOfTheWrongSizeOrKindGetsAClearError)
{
    TempFolder dir;
    write_bytes(dir / "a.sim", std::string(40, '\0'));
    write_bytes(dir / "a.dat", std::string(16, '\0'));
    write_bytes(dir / "a_linea.dat", std::string("\x09\0", 2));
    write_bytes(dir / "a.txt", "x");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message_part;
    } rows[] = {
        {{"dump", (dir / "a.sim").string()}, 1, "a.sim: il file finisce"},
        {{"dump", (dir / "a.dat").string(), "--json"}, 1, "multiplo di 15"},
        {{"dump", (dir / "a_linea.dat").string()}, 1, "tipo di elemento 9"},
        {{"dump", (dir / "a.txt").string()}, 64, "--type"},
        {{"dump", (dir / "a.txt").string(), "--type", "dat"}, 1, "multiplo di 15"},
        {{"dump", (dir / "none.sim").string()}, 1, "none.sim» non esiste"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[1]);
        const auto run = testing::run_tool(row.args);
        EXPECT_EQ(run.status, row.status);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
    }
}

// A folder or a fifo named like a binary is refused at once: never read as a
// file of some enormous size, never waited on.
TEST(Dump, WhatIsNotARegularFileIsRefusedAtOnce)
{
    TempFolder dir;
    namespace t = tratta::testing;
    const struct {
        t::Special special;
        const char* name;
        const char* message_part;
    } rows[] = {
        {t::Special::folder, "a.sim", "è una cartella, non un file normale"},
        {t::Special::folder, "a_linea.dat", "è una cartella"},
        {t::Special::fifo, "b.dat", "pipe con nome"},
    };
    ::alarm(20); // a dump that waited on the fifo ends the test program
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(t::make_special(row.special, dir / row.name));
        const auto run = testing::run_tool({"dump", (dir / row.name).string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(row.name), std::string::npos) << run.err;
    }
    ::alarm(0);
}

// Standard output that takes nothing, as on a full disk.
class FullOutput : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(Dump, AnOutputThatCannotTakeTheDumpEndsWithStatus1)
{
    const Compiled c;
    FullOutput full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(dump_file(c.files.records, DumpOptions{}, out, err), 1);
    EXPECT_NE(err.str().find("uscita standard"), std::string::npos) << err.str();
}

// A reader that has had enough (`| head -1`) closes the pipe before the
// 10,000 rows of a metre-by-metre dump are through: the real tool
// ends with status 1 and one line saying so, not killed by SIGPIPE.
TEST(Dump, AClosedStandardOutputEndsWithStatus1AndOneLine)
{
    const Compiled c;
    const auto err = c.dir / "err.txt";
    const std::string command = "bash -c '\"" + std::string(AUTORE_PROGRAM_PATH) + "\" dump \"" + c.files.line_table.string() +
                                "\" --step 1 2>\"" + err.string() + "\" | head -c 10 >/dev/null; exit ${PIPESTATUS[0]}'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string messages = tratta::testing::read_bytes(err);
    EXPECT_NE(messages.find("uscita standard"), std::string::npos) << messages;
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
}

} // namespace
} // namespace autore
