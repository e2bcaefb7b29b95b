// The embedded scenario compiles cleanly: every object of the line and of the
// train finds a cell of its own, so the whole run records no error at all.

#include "support/embedded_compile.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <map>

namespace tratta {
namespace {

TEST(EmbeddedScenario, CompilesWithoutAnyError)
{
    testing::TempFolder folder;
    const RunOutcome outcome = esegui_scenario(folder.path());
    EXPECT_EQ(outcome.exit_status, 0) << outcome.message;

    const CompileResult& result = testing::embedded_compile().result;
    const RunState& state = result.model;
    EXPECT_EQ(result.outcome, CompileOutcome::clean);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(state.error_code, 0);
    EXPECT_EQ(state.error_at_m, 0);
    EXPECT_TRUE(result.line_source_deleted);
    EXPECT_TRUE(result.train_source_deleted);

    // The run went all the way: the grid of the 334 km line exists and the
    // first kilometre post stands at 28000 m with its text in record 80.
    ASSERT_EQ(state.cells.last(), 6820);
    EXPECT_EQ(state.cells.at(561).kind, kind_sign_board);
    EXPECT_EQ(state.records[80].text, "(  Cippo  )(Km 28+000)");
    EXPECT_EQ(state.records[45].text, "Sarmenta Centrale");

    // A station's stop cell takes its cell whatever stood there; none of the
    // boards or signals was lost that way. The two junctions have no stop cell.
    std::map<int, int> per_kind;
    for (const RouteCell& c : state.cells.cells())
        ++per_kind[c.kind];
    EXPECT_EQ(per_kind[kind_signal], 180);
    EXPECT_EQ(per_kind[kind_speed_indicator], 64);
    EXPECT_EQ(per_kind[kind_sign_board], 21);
    EXPECT_EQ(per_kind[kind_station_stop], 43);
    EXPECT_EQ(per_kind[kind_slowdown_start], 2);
}

// The line table handed over as soon as it is complete is the one the files
// hold; taken, it is no longer in them; refused, it stays.
TEST(EmbeddedScenario, TheLineTableHandedOverEarlyIsTheFilesOwn)
{
    const auto& embedded = testing::embedded_compile();
    for (const bool take : {true, false}) {
        SCOPED_TRACE(take ? "taken" : "refused");
        Bytes handed;
        int calls = 0;
        CompileInput input{SourceText::of(embedded.line), SourceText::of(embedded.train), scenario_constant,
                           train_constant, true};
        input.line_table_ready = [&](Bytes& table) {
            ++calls;
            handed = take ? std::move(table) : table;
            return take;
        };
        const CompileResult result = compile(input);
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(handed == embedded.result.files.line_table);
        EXPECT_EQ(result.files.line_table.empty(), take);
        if (!take) {
            EXPECT_TRUE(result.files.line_table == embedded.result.files.line_table);
        }
        EXPECT_TRUE(result.files.records == embedded.result.files.records);
        EXPECT_TRUE(result.files.grid == embedded.result.files.grid);
    }
}

} // namespace
} // namespace tratta
