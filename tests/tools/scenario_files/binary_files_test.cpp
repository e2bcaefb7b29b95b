#include "autore/scenario_files/binary_files.hpp"
#include "model/byte_buffer.hpp"
#include "model/scenario_records.hpp"
#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;

// The records of a compiled scenario given another scenario name in their
// header, as a hand or another tool might have written it.
void set_header_scenario(const fs::path& sim, const std::string& name)
{
    tratta::ScenarioRecords records = load_records(sim);
    records[tratta::ScenarioRecords::scenario_header].text = name;
    tratta::ByteBuffer out;
    tratta::encode_scenario_records(records, out);
    std::ofstream(sim, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(out.bytes().data()), static_cast<std::streamsize>(out.size()));
}

// The line table of a folder is one of the folder's own files, found by name:
// never a path formed from what the records say, which may lead anywhere.
TEST(FindCompiled, TheLineTableIsOneOfTheFolderOwnFiles)
{
    const struct {
        const char* what;
        const char* renamed_to;     // the scenario part all three files were renamed to, or none
        const char* header;         // the scenario name written into the records, or none
        bool table_inside;          // the folder keeps its line table
        std::optional<std::string> found; // the line table's name, or none
    } rows[] = {
        {"as compiled", nullptr, nullptr, true, "Valle_linea.dat"},
        {"renamed by hand", "Nuovo", nullptr, true, "Nuovo_linea.dat"},
        {"a header that leads out of the folder", nullptr, "../fuori/Valle", true, "Valle_linea.dat"},
        {"a header that leads out, no table inside", nullptr, "../fuori/Valle", false, std::nullopt},
        {"a header naming another scenario", nullptr, "Altra", true, "Valle_linea.dat"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder work;
        const auto s = testing::write_small_scenario(work.path());
        const fs::path out = work.path() / "out";
        ASSERT_EQ(testing::run_tool({"compile", s.line_file.string(), s.train_file.string(), "-o", out.string()}).status, 0);
        // A table outside the folder, where a header could point.
        fs::create_directory(work.path() / "fuori");
        fs::copy_file(out / "Valle_linea.dat", work.path() / "fuori" / "Valle_linea.dat");
        if (row.renamed_to) {
            const std::string to = row.renamed_to;
            fs::rename(out / "Valle_R 101.sim", out / (to + "_R 101.sim"));
            fs::rename(out / "Valle_R 101.dat", out / (to + "_R 101.dat"));
            fs::rename(out / "Valle_linea.dat", out / (to + "_linea.dat"));
        }
        if (row.header) {
            for (const auto& f : fs::directory_iterator(out))
                if (f.path().extension() == ".sim")
                    set_header_scenario(f.path(), row.header);
        }
        if (!row.table_inside)
            fs::remove(out / "Valle_linea.dat");

        const CompiledFiles files = find_compiled(out, "", "");
        ASSERT_EQ(files.line_table.has_value(), row.found.has_value());
        if (row.found) {
            EXPECT_EQ(files.line_table->parent_path(), out);
            EXPECT_EQ(files.line_table->filename().string(), *row.found);
        }
    }
}

} // namespace
} // namespace autore
