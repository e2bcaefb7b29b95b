#include "app/files.hpp"

#include "app/file_names.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

namespace tratta {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

TEST(Files, WritingEmptiesTheFileFirst)
{
    TempFolder dir;
    const auto file = dir / "x.dat";
    write_file_replacing(file, std::string_view("new"));
    EXPECT_EQ(read_bytes(file), "new");
    write_bytes(file, std::string(100, 'o'));
    write_file_replacing(file, std::string_view("ab"));
    EXPECT_EQ(read_bytes(file), "ab");
}

TEST(Files, AFileThatCannotBeMadeNamesItself)
{
    TempFolder dir;
    const auto file = dir / "missing-folder" / "x.dat";
    try {
        write_file_replacing(file, std::string_view("x"));
        FAIL() << "no failure";
    } catch (const FileFailure& f) {
        EXPECT_NE(std::string(f.what()).find("x.dat"), std::string::npos) << f.what();
        EXPECT_EQ(f.file(), file);
    }
}

TEST(Files, DeletingAMissingFileIsNoFailure)
{
    TempFolder dir;
    EXPECT_NO_THROW(delete_file(dir / "none.txt"));
    write_bytes(dir / "one.txt", "1");
    delete_file(dir / "one.txt");
    EXPECT_FALSE(file_exists(dir / "one.txt"));
}

TEST(FileNames, EveryFileIsNamedFromTheTwoNames)
{
    const FileNames f = file_names("/prog", "Tratta_Esempio", "TR 000 Esempio");
    EXPECT_EQ(f.line_source, std::filesystem::path("/prog/Tratta_Esempio_linea.txt"));
    EXPECT_EQ(f.train_source, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio-.txt"));
    EXPECT_EQ(f.notes, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio_note.txt"));
    EXPECT_EQ(f.slowdowns, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio_rallentamenti.txt"));
    EXPECT_EQ(f.timetable, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio_scheda_treno.txt"));
    EXPECT_EQ(f.line_table, std::filesystem::path("/prog/Tratta_Esempio_linea.dat"));
    EXPECT_EQ(f.records, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio.sim"));
    EXPECT_EQ(f.grid, std::filesystem::path("/prog/Tratta_Esempio_TR 000 Esempio.dat"));
}

} // namespace
} // namespace tratta
