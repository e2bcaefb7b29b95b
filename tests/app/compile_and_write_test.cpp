#include "app/compile_and_write.hpp"
#include "support/embedded_compile.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;

std::string text_of(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

BinaryNames set_in(const TempFolder& dir)
{
    return {dir.path() / "S_linea.dat", dir.path() / "S_T.sim", dir.path() / "S_T.dat"};
}

// The program's run and `autore compile` write the same three files, to the
// byte, those of the compile in memory; the step between compile and files
// (where the program deletes its sources) comes before any file of the set
// takes its name.
TEST(CompileAndWrite, TheProgramAndTheAuthorsCompileWriteTheSameSet)
{
    const auto& embedded = testing::embedded_compile();
    for (const CompilePurpose purpose : {CompilePurpose::program_files, CompilePurpose::author_files}) {
        SCOPED_TRACE(static_cast<int>(purpose));
        TempFolder dir;
        const BinaryNames names = set_in(dir);
        bool set_absent_after_compile = false;
        CompileAndWrite request{SourceText::of(embedded.line), SourceText::of(embedded.train), scenario_constant,
                                train_constant, true, purpose, names,
                                [&](const CompileResult& result) {
                                    set_absent_after_compile = result.outcome == CompileOutcome::clean &&
                                                               !fs::exists(names.line_table) &&
                                                               !fs::exists(names.records) && !fs::exists(names.grid);
                                }};
        const WrittenCompile written = compile_and_write(request);
        EXPECT_TRUE(set_absent_after_compile);
        EXPECT_EQ(written.written, (std::vector<fs::path>{names.line_table, names.records, names.grid}));
        EXPECT_EQ(read_bytes(names.line_table), text_of(embedded.result.files.line_table));
        EXPECT_EQ(read_bytes(names.records), text_of(embedded.result.files.records));
        EXPECT_EQ(read_bytes(names.grid), text_of(embedded.result.files.grid));
        // The line table went to the disk as soon as the compile had it.
        EXPECT_TRUE(written.result.files.line_table.empty());
    }
}

// A compile without the line table writes the other two; one that makes no
// files (no line file: no route grid) writes nothing and still says how it ended.
TEST(CompileAndWrite, OnlyTheFilesTheCompileMakesAreWritten)
{
    const auto& embedded = testing::embedded_compile();
    {
        TempFolder dir;
        const BinaryNames names = set_in(dir);
        const WrittenCompile written = compile_and_write({SourceText::of(embedded.line),
                                                          SourceText::of(embedded.train), scenario_constant,
                                                          train_constant, false, CompilePurpose::program_files,
                                                          names, {}});
        EXPECT_EQ(written.written, (std::vector<fs::path>{names.records, names.grid}));
        EXPECT_FALSE(fs::exists(names.line_table));
        EXPECT_EQ(read_bytes(names.records), text_of(embedded.result.files.records));
    }
    {
        TempFolder dir;
        bool told = false;
        const WrittenCompile written = compile_and_write(
            {SourceText{}, SourceText::of(embedded.train), scenario_constant, train_constant, true,
             CompilePurpose::program_files, set_in(dir), [&](const CompileResult&) { told = true; }});
        EXPECT_TRUE(told);
        EXPECT_EQ(written.result.outcome, CompileOutcome::failure);
        EXPECT_TRUE(written.written.empty());
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

} // namespace
} // namespace tratta
