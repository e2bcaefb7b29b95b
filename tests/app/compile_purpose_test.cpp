#include "app/compile_purpose.hpp"
#include "support/embedded_compile.hpp"

#include <gtest/gtest.h>

namespace tratta {
namespace {

// Whatever a compile is asked for, the simulator's files it makes are the
// program's to the byte; a purpose changes only what is kept beside them.
TEST(CompilePurpose, EachKeepsWhatItsCallerReadsAndTheFilesStayThePrograms)
{
    const auto& embedded = testing::embedded_compile();
    const CompiledFiles& program = embedded.result.files;
    ASSERT_FALSE(program.line_table.empty());
    struct Row {
        CompilePurpose purpose;
        bool line_table; // "_linea.dat" made
        bool origins;    // where each object came from
        bool fields;     // every field as read
    };
    const Row rows[] = {
        {CompilePurpose::program_files, true, false, false},
        {CompilePurpose::author_files, true, true, true},
        {CompilePurpose::check, false, true, true},
        {CompilePurpose::check_and_draw, true, true, true},
        {CompilePurpose::tables, false, true, false},
        {CompilePurpose::files_in_memory, true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.purpose));
        const CompileResult r = compile(compile_input(row.purpose, SourceText::of(embedded.line),
                                                      SourceText::of(embedded.train), scenario_constant,
                                                      train_constant));
        ASSERT_EQ(r.outcome, CompileOutcome::clean);
        EXPECT_EQ(r.files.records, program.records);
        EXPECT_EQ(r.files.grid, program.grid);
        EXPECT_EQ(r.files.line_table, row.line_table ? program.line_table : Bytes{});
        EXPECT_EQ(!r.model.cell_origins.empty(), row.origins);
        EXPECT_EQ(!r.trace.fields.empty(), row.fields);
    }
}

// The author's compile without the line table reads no curve and keeps
// nothing beside the two files; the other purposes follow the request too.
TEST(CompilePurpose, WithoutTheLineTableNoPurposeMakesIt)
{
    const auto& embedded = testing::embedded_compile();
    for (const CompilePurpose purpose : {CompilePurpose::program_files, CompilePurpose::author_files,
                                         CompilePurpose::files_in_memory}) {
        SCOPED_TRACE(static_cast<int>(purpose));
        const CompileInput input = compile_input(purpose, SourceText::of(embedded.line),
                                                 SourceText::of(embedded.train), scenario_constant, train_constant,
                                                 false);
        EXPECT_FALSE(input.line_table);
        EXPECT_FALSE(input.note_origins);
        EXPECT_FALSE(input.trace_fields);
        const CompileResult r = compile(input);
        EXPECT_TRUE(r.makes_files());
        EXPECT_TRUE(r.files.line_table.empty());
    }
}

} // namespace
} // namespace tratta
