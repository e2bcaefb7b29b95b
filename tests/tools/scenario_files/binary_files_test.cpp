// Compiled files read back for dump, plot and view: a file larger than any
// compile can make (the longest route is 1,000,000 m) is refused before it
// is read, however large it is.
#include "autore/scenario_files/binary_files.hpp"

#include "model/byte_reader.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace autore {
namespace {

// A file of the given size that holds nothing (no disk is spent on it).
std::filesystem::path sparse_file(const std::filesystem::path& folder, const std::string& name, std::uintmax_t size)
{
    const std::filesystem::path file = folder / name;
    std::ofstream(file, std::ios::binary).put('\0');
    std::filesystem::resize_file(file, size);
    return file;
}

TEST(BinaryFiles, AFileLargerThanAnyCompileMakesIsRefusedUnread)
{
    tratta::testing::TempFolder folder;
    constexpr std::uintmax_t one_gib = std::uintmax_t{1} << 30;
    const struct {
        const char* name;
        std::uintmax_t size;
        void (*load)(const std::filesystem::path&);
    } rows[] = {
        {"Valle_linea.dat", 20140021, [](const std::filesystem::path& f) { (void)load_line_table(f); }},
        {"Valle_linea.dat", one_gib, [](const std::filesystem::path& f) { (void)load_line_table(f); }},
        {"Valle_R 101.dat", one_gib, [](const std::filesystem::path& f) { (void)load_cells(f); }},
        {"Valle_R 101.sim", one_gib, [](const std::filesystem::path& f) { (void)load_records(f); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name + std::string(" ") + std::to_string(row.size));
        const auto file = sparse_file(folder.path(), row.name, row.size);
        try {
            row.load(file);
            ADD_FAILURE() << "read";
        } catch (const tratta::LayoutError& e) {
            EXPECT_NE(std::string(e.what()).find("più di quanti ne scriva qualsiasi compilazione"), std::string::npos)
                << e.what();
        }
    }
}

// The largest line table a compile makes is still read (and found wrong by
// its layout, not by its size).
TEST(BinaryFiles, TheLongestRoutesLineTableIsNotRefusedForItsSize)
{
    tratta::testing::TempFolder folder;
    const auto file = sparse_file(folder.path(), "Valle_linea.dat", 20139956);
    try {
        (void)load_line_table(file);
    } catch (const tratta::LayoutError& e) {
        EXPECT_EQ(std::string(e.what()).find("più di quanti"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace autore
