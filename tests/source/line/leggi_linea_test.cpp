// The line half as a whole: which exits it takes, what each leaves behind,
// and how keys are found among comment fields and section headers.

#include "line_fixture.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tratta {
namespace {

using testing::crlf_lines;
using testing::line_file;
using testing::run_line_bytes;
using testing::run_line_text;

struct ExitCase {
    const char* what;
    std::optional<std::string> bytes; // none: the line file is missing
    int32_t error_code;
    int32_t error_at_m;
    int32_t error_line; // source line of the key that raised it; 0 when none
    bool train_next;
    bool train_file_left;
    bool grid;
};

std::string boards(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "cartello_indicatore, " + std::to_string(1000 + 50 * i) + ", (B" + std::to_string(i) + ")\r\n";
    return out;
}

const ExitCase exit_cases[] = {
    {"normal end", line_file({"lunghezza percorso, 1000"}, {"pendenza, 100, 2"}), 0, 0, 0, true, true, true},
    {"line file missing", std::nullopt, 101, 0, 0, false, true, false},
    {"empty line file", std::string(), 102, 0, 0, false, true, false},
    {"no general header", crlf_lines({"[curve]", "lunghezza percorso, 1000", "[fine]"}), 102, 0, 3, false, true,
     false},
    {"general header only as the very last field", crlf_lines({"x", "[generale]"}), 102, 0, 2, false, true, false},
    {"route length above 1000000", line_file({"lunghezza percorso, 1000001"}, {}), 1, 0, 2, false, true, false},
    {"route length below 0", line_file({"lunghezza percorso, -1"}, {}), 1, 0, 2, false, true, false},
    {"repetition start off the 50 m step",
     line_file({"lunghezza percorso, 1000", "ripetizione segnali 9 codici, 75, 500"}, {}), 3, 0, 3, false, true,
     true},
    {"repetition end off the 50 m step",
     line_file({"lunghezza percorso, 1000", "ripetizione segnali 9 codici, 50, 510"}, {}), 4, 0, 3, false, true,
     true},
    {"repetition key without 4 or 9",
     line_file({"lunghezza percorso, 1000", "ripetizione segnali codici, 50, 500"}, {}), 5, 0, 3, false, true,
     true},
    {"no route length in the general section", line_file({"sfondo uno, 1"}, {"pendenza, 100, 2"}), 25, 0, 3,
     false, false, false},
    {"no route length, file ends in the general section", crlf_lines({"[generale]", "sfondo uno, 1", "[fine]"}),
     25, 0, 3, false, false, false},
    {"file ends inside a line's values", crlf_lines({"[generale]", "lunghezza percorso, 1000", "[x]", "montagna, 100"}),
     25, 0, 4, false, false, true},
    {"number too large for its field", line_file({"lunghezza percorso, 99999999999"}, {}), 25, 0, 2, false, false,
     false},
    {"comment run ends the file in the general section",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "- uno -", "- due -"}), 25, 0, 4, false, false, true},
    {"gradient beyond the grid", line_file({"lunghezza percorso, 0"}, {"pendenza, 6901, 2", "pendenza, 50, 3"}), 15,
     6901, 4, true, true, true},
    {"gradient before the origin", line_file({"lunghezza percorso, 0"}, {"pendenza, -50, 2"}), 15, -50, 4, true,
     true, true},
    {"mountain beyond the grid", line_file({"lunghezza percorso, 0"}, {"montagna, 7000, 7100, 2"}), 15, 7000, 4,
     true, true, true},
    {"curve beyond the grid", line_file({"lunghezza percorso, 0"}, {"curvad1, 6950, 10"}), 15, 6950, 4, true, true,
     true},
    {"curve key without a class digit", line_file({"lunghezza percorso, 1000"}, {"curvad, 100, 10"}), 103, 0, 4,
     false, true, true},
    {"curve walk past metre 1000000",
     line_file({"lunghezza percorso, 1000000"}, {"curvad1, 999000, 1500"}), 103, 0, 4, false, true, true},
    {"curve walk ending on metre 1000000",
     line_file({"lunghezza percorso, 1000000"}, {"curvad1, 999000, 1000"}), 103, 0, 4, false, true, true},
    {"curve walk ending on metre 999999",
     line_file({"lunghezza percorso, 1000000"}, {"curvad1, 999000, 999"}), 0, 0, 0, true, true, true},
    {"speed indicator on a taken cell",
     line_file({"lunghezza percorso, 1000"},
               {"indicatori_vmax, 500, 90, 90, 90, 0, , , , 0", "indicatori_vmax, 510, 90, 90, 90, 0, , , , 0"}),
     21, 510, 5, false, true, true},
    {"packed speed above 32767", line_file({"lunghezza percorso, 1000"}, {"indicatori_vmax, 500, 1700, 0, 0, 0, 0, 0, 0, 0"}),
     25, 0, 4, false, false, true},
    {"sign board on a taken cell",
     line_file({"lunghezza percorso, 1000"}, {"indicatori_vmax, 500, 90, 90, 90, 0, , , , 0", "cartello_indicatore, 490, (X)"}),
     6, 490, 5, false, true, true},
    {"81st sign board", "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\n" + boards(81) + "[fine]\r\n", 28, 5000,
     84, false, true, true},
};

class LineExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(LineExit, RecordsTheErrorAndLeavesTheFilesAsTheExitSays)
{
    const ExitCase& c = GetParam();
    const auto run = run_line_bytes(c.bytes ? &*c.bytes : nullptr);
    const RunState& s = run->state;
    EXPECT_EQ(s.error_code, c.error_code);
    EXPECT_EQ(s.error_at_m, c.error_at_m);
    if (c.error_code != 0) {
        ASSERT_FALSE(s.errors.empty());
        EXPECT_EQ(s.errors.back().code, c.error_code);
        EXPECT_EQ(s.errors.back().place.file, SourceFile::line);
        EXPECT_EQ(s.errors.back().place.line, c.error_line);
    }
    EXPECT_EQ(run->train_next, c.train_next);
    EXPECT_FALSE(run->line_file_left());
    EXPECT_EQ(run->train_file_left(), c.train_file_left);
    EXPECT_EQ(s.cells.exists(), c.grid);
    // The two names are in place on every exit, even when the file is missing.
    EXPECT_EQ(s.records[85].text, "Tratta_Prova");
    EXPECT_EQ(s.records[86].text, "TR 1 Prova");
}

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Exits, LineExit, ::testing::ValuesIn(exit_cases));

TEST(LineReader, AfterAPositionBeyondTheGridTheTailStillRuns)
{
    // The gradient in force when the file ended runs on to cell N - 3.
    const auto run = run_line_text(line_file({"lunghezza percorso, 0"}, {"pendenza, 100, 4", "pendenza, 9000, 7"}));
    ASSERT_EQ(run->state.error_code, 15);
    EXPECT_EQ(run->cell(1).gradient, 100);
    EXPECT_EQ(run->cell(137).gradient, 104);
    EXPECT_EQ(run->cell(138).gradient, 0);
    EXPECT_EQ(run->state.profile.tag(6998, 1), ProfileTag::real);
    EXPECT_DOUBLE_EQ(run->state.profile.get(6998, 1), 6998.0);
}

TEST(LineReader, RefusedLinesLeaveWhatWasPlacedBeforeThem)
{
    const auto run = run_line_text(line_file(
        {"lunghezza percorso, 1000"},
        {"pendenza, 200, 4", "montagna, 300, 400, 2", "cartello_indicatore, 300, (A)", "cartello_indicatore, 300, (B)",
         "pendenza, 400, 9"}));
    ASSERT_EQ(run->state.error_code, 6);
    EXPECT_EQ(run->cell(3).gradient, 100);    // written by the gradient line
    EXPECT_EQ(run->cell(6).side, 2);          // the mountain
    EXPECT_EQ(run->cell(7).kind, kind_sign_board);
    EXPECT_EQ(run->state.records[80].text, "(A)");
    EXPECT_EQ(run->cell(4).gradient, 0);      // no tail after a refused line
}

// The key loop: comment fields, the last field, values taken across line ends.
struct KeyLoopCase {
    const char* what;
    std::string bytes;
    int32_t background; // record 85 start_m: whether "sfondo uno" was read in the general section
    int32_t gradient;   // gradient of cell 20 after the tail: the last gradient acted upon, plus 100
};

const KeyLoopCase key_loop_cases[] = {
    {"header in capitals", crlf_lines({"[GENERALE]", "lunghezza percorso, 1000", "sfondo uno, 3", "[x]", "[fine]"}), 3,
     100},
    {"a section header ends the general section",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "[curve]", "sfondo uno, 3", "[fine]"}), 0, 100},
    {"a header with a dash is a comment",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "[cur-ve]", "sfondo uno, 3", "[fine]"}), 3, 100},
    {"any field with both brackets ends it",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "fine] e [inizio", "sfondo uno, 3", "[fine]"}), 0, 100},
    {"ten comments in a row in the general section are passed over",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10, sfondo uno, 3", "[x]",
                 "[fine]"}),
     3, 100},
    {"an eleventh comment stays as the key, and with its dash it ends nothing",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,-[11]", "sfondo uno, 3",
                 "[x]", "[fine]"}),
     3, 100},
    {"after ten comments a header ends the section",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,[11]", "sfondo uno, 3",
                 "[fine]"}),
     0, 100},
    {"two comments in the body are passed over",
     line_file({"lunghezza percorso, 1000"}, {"- a -, - b -, pendenza, 100, 5"}), 0, 105},
    {"a third comment in the body is taken as the key",
     line_file({"lunghezza percorso, 1000"}, {"- a -, - b -, - pendenza -, 100, 5"}), 0, 105},
    {"the last field of the file is never acted upon",
     crlf_lines({"[generale]", "lunghezza percorso, 1000", "[x]", "pendenza, 100, 5", "pendenza"}), 0, 105},
    {"a key whose values end the file is acted upon",
     "[generale]\r\nlunghezza percorso, 1000\r\n[x]\r\npendenza, 100, 5\r\npendenza, 200, 6", 0, 106},
    {"a missing value comes from the next line",
     line_file({"lunghezza percorso, 1000"}, {"pendenza, 100", "7, sfondo uno, 3"}), 0, 107},
    {"the decimal comma: the digit after it is passed over as a key",
     line_file({"lunghezza percorso, 1000"}, {"pendenza,  100,   -4,5"}), 0, 96},
    {"quoted keys keep their commas", line_file({"lunghezza percorso, 1000"}, {"\"pendenza, 1\", 100, 8"}), 0, 108},
};

class KeyLoop : public ::testing::TestWithParam<KeyLoopCase> {};

TEST_P(KeyLoop, ActsOnTheRightFields)
{
    const KeyLoopCase& c = GetParam();
    const auto run = run_line_text(c.bytes);
    ASSERT_EQ(run->state.error_code, 0);
    ASSERT_TRUE(run->train_next);
    EXPECT_EQ(run->state.records[85].start_m, c.background);
    EXPECT_EQ(run->cell(20).gradient, c.gradient);
}

void PrintTo(const KeyLoopCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Keys, KeyLoop, ::testing::ValuesIn(key_loop_cases));

TEST(LineReader, HandsTheFirstFreeBoardSlotToTheTrainHalf)
{
    const auto run = run_line_text("[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\n" + boards(3) + "[fine]\r\n");
    ASSERT_TRUE(run->train_next);
    EXPECT_EQ(run->handoff.board_slot, 77);
}

} // namespace
} // namespace tratta
