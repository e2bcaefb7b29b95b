#include "autore/dump.hpp"

#include "app/file_names.hpp"
#include "autore/compile_sources.hpp"
#include "autore/table_fields.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

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
        return compile_author_files(rq).scenario;
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

TEST(Dump, TextNamesTheKindsAndShowsTheFieldsThatHoldSomething)
{
    Compiled c;
    const auto records = testing::run_tool({"dump", c.files.records.string()});
    EXPECT_EQ(records.status, 0);
    EXPECT_NE(records.out.find("record  1: kind=12 start_m=800 end_m=1200 at_m=1000 text=\"Alfa\""), std::string::npos)
        << records.out;
    EXPECT_NE(records.out.find("record 85: int_a=610 time_s="), std::string::npos) << records.out;
    EXPECT_NE(records.out.find("text=\"Valle\""), std::string::npos) << records.out;

    const auto cells = testing::run_tool({"dump", c.files.grid.string(), "--objects"});
    EXPECT_EQ(cells.status, 0);
    EXPECT_NE(cells.out.find("cella    61     3050 m  segnale (1) value=42 value2=11 value3=11 value4=8"),
              std::string::npos)
        << cells.out;
    EXPECT_NE(cells.out.find("inizio rallentamento (3) value=60"), std::string::npos);
    EXPECT_EQ(cells.out.find(" -"), std::string::npos) << "--objects shows only cells with an object";

    const auto table = testing::run_tool({"dump", c.files.line_table.string(), "--step", "5000"});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("metri 0..17000"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("      5000            0.000         5000.000"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("     17000            vuoto            vuoto"), std::string::npos) << table.out;
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

} // namespace
} // namespace autore
