// A source file line by line as the outline, completion and the hovers past a
// stopping error read it: which part of the file each line stands in, which
// key it names, and where its fields are.
#include "autore/lsp/source_lines.hpp"

#include "autore/lsp/field_at.hpp"
#include "autore/lsp/hover.hpp"
#include "source/line/line_keys.hpp"
#include "source/train/train_keys.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autore::lsp {
namespace {

using tratta::KeySpec;
using tratta::SourceFile;
using tratta::TracePart;
namespace lk = tratta::line_keys;
namespace tk = tratta::train_keys;

struct LineCase {
    SourceFile file;
    std::vector<std::string> lines;
    std::size_t at;          // the line looked at (from 0)
    TracePart part;
    bool header;
    const KeySpec* key;
    std::vector<std::string> tokens; // its fields as read
};

const LineCase line_cases[] = {
    {SourceFile::line, {"nota prima", "[generale]"}, 0, TracePart::preamble, false, nullptr, {"nota prima"}},
    {SourceFile::line, {"[generale]", "lunghezza percorso,  1000"}, 1, TracePart::general, false, &lk::route_length, {"lunghezza percorso", "1000"}},
    {SourceFile::line, {"[GENERALE]", "ripetizione segnali 4 codici, 50, 900"}, 1, TracePart::general, false, &lk::signal_repetition, {"ripetizione segnali 4 codici", "50", "900"}},
    // The first header after "[generale]" closes it, and stands in it.
    {SourceFile::line, {"[generale]", "[curve]"}, 1, TracePart::general, true, nullptr, {"[curve]"}},
    {SourceFile::line, {"[generale]", "[curve]", "curvaD3,  2150,  100"}, 2, TracePart::body, false, &lk::curve, {"curvaD3", "2150", "100"}},
    // A general key in the body names nothing there.
    {SourceFile::line, {"[generale]", "[curve]", "sfondo uno, 1"}, 2, TracePart::body, false, nullptr, {"sfondo uno"}},
    // A header with a dash is a comment, not a header.
    {SourceFile::line, {"[generale]", "-[curve]-"}, 1, TracePart::general, false, nullptr, {"-[curve]-"}},
    {SourceFile::line, {"[generale]", "[x]", "cartello_indicatore,  28000,   (  Cippo  )(Km 28+000)"}, 2, TracePart::body, false, &lk::sign_board, {"cartello_indicatore", "28000", "(  Cippo  )(Km 28+000)"}},
    {SourceFile::line, {"[generale]", "[x]", "pendenza,  1250,   -4,5"}, 2, TracePart::body, false, &lk::gradient, {"pendenza", "1250", "-4"}},
    {SourceFile::train, {"[generale]", "Velocit\xE0,  0,  100"}, 1, TracePart::body, false, &tk::speed_limit, {"Velocit\xE0", "0", "100"}},
    {SourceFile::train, {"[generale]", "orologio,    19              35            20 "}, 1, TracePart::body, false, &tk::clock, {"orologio", "19", "35", "20"}},
    {SourceFile::train, {"[generale]", "stazione, 100, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, \"Alfa, Beta\""}, 1, TracePart::body, false, &tk::station,
     {"stazione", "100", "12", "400", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "Alfa, Beta"}},
    {SourceFile::train, {"stazione, 100"}, 0, TracePart::preamble, false, nullptr, {"stazione"}},
};

TEST(SourceLines, EachLineItsPartKeyAndFields)
{
    for (const LineCase& c : line_cases) {
        SCOPED_TRACE(c.lines[c.at]);
        std::string text;
        for (const auto& l : c.lines)
            text += l + "\r\n";
        const auto lines = scan_source(text, c.file);
        ASSERT_GT(lines.size(), c.at);
        const SourceLine& l = lines[c.at];
        EXPECT_EQ(l.number, static_cast<int32_t>(c.at) + 1);
        EXPECT_EQ(l.part, c.part);
        EXPECT_EQ(l.header, c.header);
        EXPECT_EQ(l.key, c.key);
        std::vector<std::string> tokens;
        for (const LineField& f : l.fields)
            tokens.emplace_back(f.token);
        EXPECT_EQ(tokens, c.tokens);
    }
}

TEST(SourceLines, TheFieldUnderAColumn)
{
    const auto lines = scan_source("[generale]\r\n[x]\r\npendenza,  1250,   -4\r\n", SourceFile::line);
    const SourceLine& l = lines[2];
    const struct {
        int32_t column;
        int field;
    } rows[] = {{1, 0}, {8, 0}, {9, 0}, {10, -1}, {12, 1}, {16, 1}, {17, -1}, {20, 2}, {22, 2}, {23, -1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.column);
        EXPECT_EQ(field_under(l, r.column), r.field);
    }
}

TEST(SourceLines, ALineTheCompileNeverReadIsStillDescribed)
{
    // Without a compile the field is read from the line itself, and the hover says so.
    const std::string text = "[generale]\r\n[x]\r\nmontagna,   8750,  11050,  12\r\n";
    const auto at = field_at(nullptr, text, SourceFile::line, 3, 21);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->key, &lk::mountain);
    EXPECT_EQ(at->index, 1);
    EXPECT_EQ(at->value, 11050);
    EXPECT_FALSE(at->read);
    const std::string words = field_markdown(*at, nullptr);
    EXPECT_NE(words.find("**fine** (m): campo 2 di 3"), std::string::npos) << words;
    EXPECT_NE(words.find("la lettura del file si è fermata prima di questa riga"), std::string::npos) << words;
}

} // namespace
} // namespace autore::lsp
