// Lines as every reader of a source counts them: CR LF, a lone LF and a lone
// CR each end one; nothing else does.
#include "source/field_reader.hpp"
#include "source/line_ends.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tratta {
namespace {

struct LinesCase {
    const char* what;
    std::string text;
    std::vector<std::string> lines; // each line's text, without its line end
};

const LinesCase lines_cases[] = {
    {"CR LF", "uno\r\ndue\r\n", {"uno", "due", ""}},
    {"LF", "uno\ndue\n", {"uno", "due", ""}},
    {"a lone CR", "uno\rdue\r", {"uno", "due", ""}},
    {"LF CR is two line ends", "uno\n\rdue", {"uno", "", "due"}},
    {"CR CR LF", "uno\r\r\ndue", {"uno", "", "due"}},
    {"the last line with no line end", "uno\r\ndue", {"uno", "due"}},
    {"an empty source", "", {""}},
    {"a quote left open ends at the line end", "a, \"b\r\nc\"", {"a, \"b", "c\""}},
    {"a NUL is a byte like any other", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
};

TEST(LineEnds, EachLineWhereItBeginsAndEnds)
{
    for (const LinesCase& c : lines_cases) {
        SCOPED_TRACE(c.what);
        const auto spans = line_spans(c.text);
        std::vector<std::string> lines;
        for (const LineSpan& s : spans)
            lines.emplace_back(s.text_of(c.text));
        EXPECT_EQ(lines, c.lines);
        // Each line begins where the one before it ended, its line end passed.
        for (std::size_t i = 0; i + 1 < spans.size(); ++i) {
            EXPECT_EQ(spans[i + 1].start, spans[i].next);
            EXPECT_EQ(spans[i].next - spans[i].end, line_end_length(c.text, spans[i].end));
        }
        // And the line of each byte is the line whose span holds it.
        for (std::size_t i = 0; i < spans.size(); ++i)
            for (std::size_t b = spans[i].start; b < spans[i].next; ++b) {
                const LineColumn at = line_column_of(c.text, b);
                EXPECT_EQ(at.line, static_cast<int32_t>(i) + 1) << "byte " << b;
                EXPECT_EQ(at.column, static_cast<int32_t>(b - spans[i].start) + 1) << "byte " << b;
            }
        std::vector<int32_t> numbers;
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            numbers.push_back(static_cast<int32_t>(i) + 1);
            starts.push_back(spans[i].start);
        }
        EXPECT_EQ(line_offsets(c.text, numbers), starts);
    }
}

// The field reader's own places are the lines counted above: every field it
// reads, across all those line ends and quotes, stands where its bytes are.
TEST(LineEnds, TheFieldReaderPlacesEachFieldOnTheseLines)
{
    const std::string texts[] = {
        "pendenza,  1250,   -4\r\ncartello_indicatore,  3000,  \"Km 3,000\" passato\r\n[fine]",
        "a, \"b, c\nd, e\re\r\n\r\n  f  ,",
        std::string("x,\0y\n\"aperta, z\r\n", 17),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        FieldReader in(text, SourceFile::line);
        while (!in.at_end()) {
            (void)in.read_written(FieldWidth::text);
            const SourcePlace& p = in.field_place();
            const LineColumn at = line_column_of(text, in.field_begin());
            EXPECT_EQ(p.line, at.line);
            EXPECT_EQ(p.column, at.column);
            EXPECT_EQ(static_cast<std::size_t>(p.end_column - p.column), in.field_end() - in.field_begin());
        }
    }
}

// One line read on its own keeps its place in the file, and its fields are
// read as the compile reads them: a quote keeps a comma, blanks split numbers.
TEST(LineEnds, OneLineReadOnItsOwn)
{
    const std::string line = "  stazione, \"Lido, Mare\" x, 19   35 ,20";
    FieldReader in(line, SourceFile::train, 42);
    struct Field {
        FieldWidth width;
        std::string token;
        int32_t column, end_column;
    };
    const Field fields[] = {{FieldWidth::text, "stazione", 3, 11},
                            {FieldWidth::text, "Lido, Mare", 13, 25},
                            {FieldWidth::i16, "19", 29, 31},
                            {FieldWidth::u8, "35", 34, 36},
                            {FieldWidth::i32, "20", 38, 40}};
    for (const Field& f : fields) {
        SCOPED_TRACE(f.token);
        ASSERT_FALSE(in.at_end());
        EXPECT_EQ(in.read_written(f.width), f.token);
        EXPECT_EQ(in.field_place().line, 42);
        EXPECT_EQ(in.field_place().column, f.column);
        EXPECT_EQ(in.field_place().end_column, f.end_column);
    }
    EXPECT_TRUE(in.at_end());
}

} // namespace
} // namespace tratta
