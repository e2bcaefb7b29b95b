#include "app/binary_set.hpp"
#include "app/file_faults.hpp"
#include "support/embedded_compile.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

std::string refused_name; // the file whose temporary cannot be made

int refuse_to_create(FileStep step, const fs::path& file)
{
    return step == FileStep::create && file.filename().string().starts_with(refused_name + ".") ? EACCES : 0;
}

// A set whose second or third file cannot even be started leaves every old
// file as it was, no file of its own, and says that none of the set changed.
TEST(BinarySet, AFileThatCannotBeStartedLeavesTheWholeSetAsItWas)
{
    const CompileResult& result = testing::embedded_compile().result;
    for (const char* refused : {"S_linea.dat", "S_T.sim", "S_T.dat"}) {
        SCOPED_TRACE(refused);
        TempFolder dir;
        const BinaryNames names{dir.path() / "S_linea.dat", dir.path() / "S_T.sim", dir.path() / "S_T.dat"};
        for (const auto& f : {names.line_table, names.records, names.grid})
            write_bytes(f, "vecchio " + f.filename().string());
        refused_name = refused;
        set_file_fault_hook(refuse_to_create);
        std::optional<StagedFile> none;
        std::string message;
        try {
            write_binary_set(result, names, none);
        } catch (const FileFailure& failure) {
            message = failure.what();
        }
        set_file_fault_hook(nullptr);
        EXPECT_NE(message.find(refused), std::string::npos) << message;
        EXPECT_TRUE(message.ends_with("; nessuno dei 3 file è cambiato")) << message;
        for (const auto& f : {names.line_table, names.records, names.grid})
            EXPECT_EQ(read_bytes(f), "vecchio " + f.filename().string());
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
    }
}

TEST(BinarySet, AllThreeTakeTheirPlaces)
{
    const CompileResult& result = testing::embedded_compile().result;
    TempFolder dir;
    const BinaryNames names{dir.path() / "S_linea.dat", dir.path() / "S_T.sim", dir.path() / "S_T.dat"};
    std::optional<StagedFile> none;
    const auto written = write_binary_set(result, names, none);
    ASSERT_EQ(written, (std::vector<fs::path>{names.line_table, names.records, names.grid}));
    EXPECT_EQ(read_bytes(names.records), std::string(as_text(result.files.records)));
    EXPECT_EQ(read_bytes(names.grid), std::string(as_text(result.files.grid)));
    EXPECT_EQ(fs::file_size(names.line_table), result.files.line_table.size());
}

} // namespace
} // namespace tratta
