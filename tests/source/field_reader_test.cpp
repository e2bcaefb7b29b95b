#include "source/field_reader.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace tratta {
namespace {

// One step of a reading script: a text field, a 32-bit number, or the
// expectation that the file is at its end.
struct Text {
    std::string value;
};
struct Number {
    int32_t value;
};
struct End {};
using Step = std::variant<Text, Number, End>;

struct ScriptCase {
    const char* what;
    std::string bytes;
    std::vector<Step> steps;
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.what; }

class FieldScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FieldScript, ReadsTheFieldsInOrder)
{
    const ScriptCase& c = GetParam();
    FieldReader in(c.bytes, SourceFile::line);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const Step& step = c.steps[i];
        if (const auto* t = std::get_if<Text>(&step)) {
            ASSERT_FALSE(in.at_end());
            EXPECT_EQ(in.read_text(), t->value);
        } else if (const auto* n = std::get_if<Number>(&step)) {
            ASSERT_FALSE(in.at_end());
            EXPECT_EQ(in.read_i32(), n->value);
        } else {
            EXPECT_TRUE(in.at_end());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldScript,
    ::testing::Values(
        ScriptCase{"decimal comma: the digit after it is a field of its own",
                   "pendenza,  1250,   -4,5\r\n",
                   {Text{"pendenza"}, Number{1250}, Number{-4}, Text{"5"}, End{}}},
        ScriptCase{"numbers separated by blanks alone",
                   "orologio, 19   35   20\r\n",
                   {Text{"orologio"}, Number{19}, Number{35}, Number{20}, End{}}},
        ScriptCase{"empty numeric fields give 0",
                   "indicatori_vmax,  1000,  90,  ,  ,  0\r\n",
                   {Text{"indicatori_vmax"}, Number{1000}, Number{90}, Number{0}, Number{0},
                    Number{0}, End{}}},
        ScriptCase{"a line short of values takes them from the next line",
                   "montagna, 100,\r\n200, 12, x\r\n",
                   {Text{"montagna"}, Number{100}, Number{0}, Number{200}, Number{12},
                    Text{"x"}, End{}}},
        ScriptCase{"trailing blanks of a text go, inner ones stay",
                   "cartello,  (  Cippo  )(Km 28+000)  \t\r\n",
                   {Text{"cartello"}, Text{"(  Cippo  )(Km 28+000)"}, End{}}},
        ScriptCase{"a quoted text keeps its comma and drops what follows the quote",
                   "\"a, b\" rest, next\r\n",
                   {Text{"a, b"}, Text{"next"}, End{}}},
        ScriptCase{"an unclosed quote ends at the line end",
                   "\"abc\r\nx",
                   {Text{"abc"}, Text{"x"}, End{}}},
        ScriptCase{"an empty line is one empty field",
                   "a\r\n\r\nb\r\n",
                   {Text{"a"}, Text{""}, Text{"b"}, End{}}},
        ScriptCase{"lone LF and lone CR end lines too",
                   "a\nb\rc\r\n1\n2\r3",
                   {Text{"a"}, Text{"b"}, Text{"c"}, Number{1}, Number{2}, Number{3}, End{}}},
        ScriptCase{"a number before a comma and a line end consumes only the comma",
                   "5 ,\r\n6",
                   {Number{5}, Number{0}, Number{6}, End{}}},
        ScriptCase{"text that is not a number reads as 0",
                   "abc, x12, 12x\r\n",
                   {Number{0}, Number{0}, Number{12}, End{}}},
        ScriptCase{"blanks alone left in the file are still a field",
                   "a\r\n   ",
                   {Text{"a"}, Text{""}, End{}}},
        ScriptCase{"tabs are blanks",
                   "\t7\t,\t8\r\n",
                   {Number{7}, Number{8}, End{}}}),
    [](const ::testing::TestParamInfo<ScriptCase>& row) { return "case" + std::to_string(row.index); });

struct TokenCase {
    const char* token;
    int64_t value;
};

TEST(TokenValue, TakesTheLeadingNumberToTheNearestWholeHalvesToEven)
{
    const TokenCase cases[] = {
        {"0", 0},      {"334000", 334000}, {"-284500", -284500}, {"+15", 15},
        {"2.5", 2},    {"3.5", 4},         {"-2.5", -2},         {"-3.5", -4},
        {"0.5", 0},    {"1.5", 2},         {"2.50000", 2},       {"2.500001", 3},
        {"2.4999", 2}, {"2.6", 3},         {"-0.4", 0},          {".5", 0},
        {"5.", 5},     {"5.x", 5},         {"12abc", 12},        {"1e3", 1},
        {"", 0},       {"-", 0},           {"abc", 0},           {"--1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.token);
        EXPECT_EQ(token_value(c.token), c.value);
    }
}

struct RangeCase {
    const char* bytes;
    int width; // 32, 16 or 8
    bool fits;
};

TEST(FieldReader, ANumberOutsideItsDestinationIsAReadFailure)
{
    const RangeCase cases[] = {
        {"2147483647", 32, true},       {"-2147483648", 32, true},  {"2147483648", 32, false},
        {"-2147483649", 32, false},     {"99999999999999999999999", 32, false},
        {"2147483647.4", 32, true},     {"2147483647.5", 32, false},
        {"32767", 16, true},            {"-32768", 16, true},       {"32768", 16, false},
        {"-32769", 16, false},          {"255", 8, true},           {"0", 8, true},
        {"256", 8, false},              {"-1", 8, false},           {"-0.5", 8, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bytes) + " into " + std::to_string(c.width) + " bits");
        FieldReader in(c.bytes, SourceFile::line);
        const auto read = [&] {
            if (c.width == 32)
                (void)in.read_i32();
            else if (c.width == 16)
                (void)in.read_i16();
            else
                (void)in.read_u8();
        };
        if (c.fits)
            EXPECT_NO_THROW(read());
        else
            EXPECT_THROW(read(), ReadFailure);
    }
}

TEST(FieldReader, ReadingWithNoByteLeftIsAReadFailure)
{
    FieldReader in("[fine]\r\n", SourceFile::line);
    EXPECT_EQ(in.read_text(), "[fine]");
    EXPECT_TRUE(in.at_end());
    EXPECT_THROW((void)in.read_text(), ReadFailure);
    EXPECT_THROW((void)in.read_i32(), ReadFailure);

    FieldReader empty("", SourceFile::line);
    EXPECT_TRUE(empty.at_end());
    EXPECT_THROW((void)empty.read_text(), ReadFailure);
}

TEST(FieldReader, NotesTheSourceLineWhereEachFieldBegins)
{
    FieldReader in("[generale]\r\nlunghezza percorso\r\n  334000\n\rsfondo uno, 1\r\n", SourceFile::line);
    const std::vector<int32_t> expected_lines = {1, 2, 3, 4, 5, 5};
    for (std::size_t i = 0; i < expected_lines.size(); ++i) {
        SCOPED_TRACE(i);
        if (i == 2 || i == 5)
            (void)in.read_i32();
        else
            (void)in.read_text();
        EXPECT_EQ(in.field_place().line, expected_lines[i]);
    }
    EXPECT_TRUE(in.at_end());
}

// Each field's place: its line and the columns of its first byte and of the
// byte after it, blanks around it left out.
TEST(FieldReader, NotesTheColumnsOfEachField)
{
    FieldReader in("  pendenza,  1250,   -4 \r\n\"Lido, Mare\" x,y\r\n", SourceFile::train);
    struct Expected {
        int32_t line, column, end_column;
    };
    const Expected expected[] = {{1, 3, 11}, {1, 14, 18}, {1, 22, 24}, {2, 1, 13}, {2, 16, 17}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        if (i == 1 || i == 2)
            (void)in.read_i32();
        else
            (void)in.read_text();
        const SourcePlace& p = in.field_place();
        EXPECT_EQ(p.file, SourceFile::train);
        EXPECT_EQ(p.line, expected[i].line);
        EXPECT_EQ(p.column, expected[i].column);
        EXPECT_EQ(p.end_column, expected[i].end_column);
    }
}

// A failed read says which field of which key broke which limit, and where.
TEST(FieldReader, AFailedReadNamesTheFieldAndTheLimit)
{
    constexpr FieldSpec fields[] = {
        {"ore", FieldWidth::i16, "h", "", "", "", ""},
        {"minuti", FieldWidth::i16, "min", "", "", "", ""},
        {"secondi", FieldWidth::i16, "s", "", "", "", ""},
    };
    const KeySpec clock{"orologio", "[generale]", "", fields, "", ""};
    struct Row {
        const char* bytes;
        std::vector<const char*> cause_parts;
        int32_t line, column;
    };
    const Row rows[] = {
        {"orologio, 19 99999 20\r\n", {"«99999»", "il campo «minuti» di «orologio»", "numero a 16 bit", "da -32768 a 32767"}, 1, 14},
        {"orologio, 19\r\n", {"il file finisce", "il campo «minuti» di «orologio»"}, 1, 13},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        FieldReader in(row.bytes, SourceFile::train);
        (void)in.read_key();
        in.expect(clock);
        try {
            for (int i = 0; i < 3; ++i)
                (void)in.read_i16();
            ADD_FAILURE() << "read";
        } catch (const ReadFailure& failure) {
            for (const char* part : row.cause_parts)
                EXPECT_NE(std::string(failure.what()).find(part), std::string::npos) << failure.what();
            EXPECT_EQ(failure.place().line, row.line);
            EXPECT_EQ(failure.place().column, row.column);
        }
    }
}

} // namespace
} // namespace tratta

namespace tratta {
namespace {

// Lines as the reader counts them, for every tool that finds a line again:
// CR LF, a lone LF and a lone CR each end one.
TEST(LineOffsets, FindEachLineWhereTheReaderCountsIt)
{
    const std::string_view text = "uno\r\ndue\ntre\rquattro\r\n\r\nsei";
    EXPECT_EQ(line_offsets(text, {1, 2, 3, 4, 5, 6, 7}), (std::vector<std::size_t>{0, 5, 9, 13, 22, 24, 27}));
    EXPECT_EQ(line_end_length(text, 3), 2u);
    EXPECT_EQ(line_end_length(text, 8), 1u);
    EXPECT_EQ(line_end_length(text, 12), 1u);
    EXPECT_EQ(line_end_length(text, 0), 0u);
    EXPECT_EQ(line_end_length(text, text.size()), 0u);
}

// A blank line names no line kind: the trace keeps nothing of it, so that a
// file of blank lines takes no memory beyond its bytes.
TEST(FieldReader, KeepsNoTraceOfBlankLines)
{
    FieldTrace trace;
    FieldReader in("\r\n\r\n   \r\npendenza, 1\r\n\r\n", SourceFile::line);
    in.trace_into(&trace);
    std::vector<std::string> keys;
    while (!in.at_end())
        keys.push_back(in.read_key());
    EXPECT_EQ(keys.size(), 6u); // the blank lines are still read, one empty field each
    ASSERT_EQ(trace.fields.size(), 2u);
    EXPECT_EQ(trace.fields[0].token, "pendenza");
    EXPECT_EQ(trace.fields[0].place.line, 4);
    EXPECT_EQ(trace.fields[1].token, "1");
}

} // namespace
} // namespace tratta
