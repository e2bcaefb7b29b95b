// The author's check: every fault at its place, the errors hidden behind the
// first, and the warnings for what the reader takes without a word.
#include "autore/analysis/check.hpp"

#include "model/code_page.hpp"
#include "support/row_name.hpp"
#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace autore {
namespace {

using tratta::SourceFile;

constexpr SourceFile L = SourceFile::line;
constexpr SourceFile T = SourceFile::train;

// A line of one of the two files replaced by another.
struct Edit {
    SourceFile file;
    std::string from;
    std::string to;
};

struct Expected {
    SourceFile file;
    int32_t line;
    int32_t column;
    std::string code;
};

struct CheckCase {
    const char* what;
    std::vector<std::string> line_extra;  // before the line file's "[fine]"
    std::vector<std::string> train_extra; // before the train file's "[fine]"
    std::vector<Edit> edits;
    std::vector<Expected> expected; // in the order the check gives them
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.what; }

std::string joined(std::vector<std::string> lines, const std::vector<std::string>& extra, SourceFile file,
                   const std::vector<Edit>& edits)
{
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    for (const Edit& e : edits)
        if (e.file == file)
            for (auto& l : lines)
                if (l == e.from)
                    l = e.to;
    return tratta::testing::crlf_lines(lines);
}

CheckReport check_case(const CheckCase& c)
{
    const std::string line = joined(testing::small_line_lines(), c.line_extra, L, c.edits);
    const std::string train = joined(testing::small_train_lines(), c.train_extra, T, c.edits);
    return check_scenario({line, train, "Valle", "R 101"});
}

const std::string alfa = "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa";
const std::string unnamed_alfa = alfa.substr(0, alfa.size() - 4);

const CheckCase check_cases[] = {
    {"a clean scenario", {}, {}, {}, {}},
    {"letters for digits in a curve length", {"curvas1,  1350,  19OO"}, {}, {}, {{L, 6, 18, "numero-malformato"}}},
    {"letters for digits in a speed", {}, {}, {{T, "velocita,  0,  100", "velocita,  0,  11O"}},
     {{T, 6, 16, "numero-malformato"}, {T, 6, 16, "velocita-arrotondata"}}},
    {"no leading digit in a signal field", {}, {}, {{T, "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
                                                    "segnale,    3000,   2, x4, 1,  1, 0,    2,  2,1,1, 0"}},
     {{T, 10, 24, "numero-malformato"}}},
    {"a speed no railway has", {}, {}, {{T, "velocita,  0,  100", "velocita,  0,  1100"}}, {{T, 6, 16, "velocita-implausibile"}}},
    {"a negative number of coaches", {}, {}, {{T, "numero vetture,    5", "numero vetture,    -16"}},
     {{T, 2, 20, "valore-implausibile"}}},
    {"a key of the train file in the line file", {"orologio, 25 75 20"}, {}, {}, {{L, 6, 1, "chiave-sconosciuta"}}},
    {"a clock of 25:75 in the train file", {}, {"orologio, 25 75 20"}, {}, {{T, 11, 11, "ora-non-valida"}, {T, 11, 14, "ora-non-valida"}}},
    {"a point for the thousands in the route length", {}, {}, {{L, "lunghezza percorso,    10000", "lunghezza percorso,    10.000"}},
     {{L, 2, 24, "separatore-migliaia"}}},
    {"an unknown key", {}, {}, {{T, "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0", "segnalle,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0"}},
     {{T, 10, 1, "chiave-sconosciuta"}}},
    {"a general key in the body", {"sfondo uno,  2"}, {}, {}, {{L, 6, 1, "chiave-fuori-sezione"}}},
    {"a decimal comma", {"pendenza,  2500,   -4,5"}, {}, {}, {{L, 6, 23, "campo-in-piu"}}},
    {"values taken from the next line", {}, {"abbattimento, 4000", "270"}, {}, {{T, 12, 1, "valori-dalla-riga-dopo"}}},
    {"a value too large for its field", {}, {"velocita,    6900,  40000"}, {},
     {{T, 11, 21, "25"}, {T, 11, 21, "velocita-implausibile"}}},
    {"three faults at once", {"indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0", "indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0"},
     {"stazione,    5025, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta", "abbattimento,  3000,  270", "abbattimento,  3000,  270"}, {},
     {{L, 7, 1, "21"}, {T, 11, 14, "8"}, {T, 13, 1, "7"}, {L, 6, 19, "cartello-velocita-discorde"}}},
    {"a signal on a speed board", {"indicatori_vmax,  3000,  95,  100,  105,  0,  ,  ,  ,  0"}, {}, {},
     {{T, 10, 1, "16"}}},
    {"curves out of order and overlapping", {"curvas1,  3000,  500", "curvad2,  3200,  500", "curvad2,  1000,  200"}, {}, {},
     {{L, 7, 11, "curve-sovrapposte"}, {L, 8, 11, "curva-senza-effetto"}}},
    {"signals out of order", {}, {"segnale,    2000,   2, 4, 1,  1, 0,    2,  2,1,1, 0"}, {}, {{T, 11, 13, "fuori-ordine"}}},
    {"a station beyond the end of the route", {}, {"stazione,    12000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Oltre"}, {},
     {{T, 11, 14, "stazione-oltre-la-fine"}}},
    {"a speed board that the limit does not follow", {"indicatori_vmax,  5000,  120,  130,  140,  0,  ,  ,  ,  0"}, {}, {},
     {{L, 6, 19, "cartello-velocita-discorde"}}},
    {"a leg the train cannot keep", {},
     {"percentuale massa frenata,  120", "stazione,    9000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 1, 0, Beta"},
     {{T, "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa",
       "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, Alfa"}},
     {{T, 8, 1, "orario-non-rispettabile"}}},
    {"a station that stops on a sign board's cell", {"cartello_indicatore,  1100,   (Km 1+100)"}, {}, {},
     {{L, 6, 23, "cartello-sotto-stazione"}, {T, 8, 1, "cartello-sotto-stazione"}}},
    {"a station name no record can hold", {}, {}, {{T, alfa, unnamed_alfa + std::string(65536, 'N')}},
     {{T, 8, 73, "testo-troppo-lungo"}}},
    {"a board text no record can hold", {"cartello_indicatore,  5000,   " + std::string(66000, 'K')}, {}, {},
     {{L, 6, 31, "testo-troppo-lungo"}}},
    {"a comma in a station's name", {}, {}, {{T, alfa, unnamed_alfa + "Lido di Corallo, Mare"}}, {{T, 8, 90, "campo-in-piu"}}},
    {"a file cut short", {}, {}, {{L, "[fine]", "pendenza,  2500,   0"}}, {{L, 6, 1, "file-troncato"}}},
    {"text saved as UTF-8", {}, {}, {{T, "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa",
                                      "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Lido di Citt\xC3\xA0"}},
     {{T, 8, 85, "codifica-utf8"}}},
};

class Check : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Check, FindsEachFaultAtItsPlace)
{
    const CheckCase& c = GetParam();
    const CheckReport report = check_case(c);
    std::vector<std::tuple<SourceFile, int32_t, int32_t, std::string>> got;
    std::string listing;
    for (const Diagnostic& d : report.diagnostics) {
        got.emplace_back(d.place.file, d.place.line, d.place.column, d.code);
        listing += std::to_string(d.place.line) + ":" + std::to_string(d.place.column) + " [" + d.code + "] " + d.message + "\n";
    }
    std::vector<std::tuple<SourceFile, int32_t, int32_t, std::string>> expected;
    for (const Expected& e : c.expected)
        expected.emplace_back(e.file, e.line, e.column, e.code);
    EXPECT_EQ(got, expected) << listing;
    EXPECT_TRUE(report.complete);
}

INSTANTIATE_TEST_SUITE_P(Cases, Check, ::testing::ValuesIn(check_cases), tratta::testing::RowName{});

// What the author reads at a finding: its cause and the way out.
TEST(CheckWording, NamesTheCauseAndTheWayOut)
{
    const struct {
        CheckCase c;
        const char* code;
        std::vector<std::string> words;
    } rows[] = {
        {{"comma", {}, {}, {{T, alfa, unnamed_alfa + "Lido di Corallo, Mare"}}, {}},
         "campo-in-piu",
         {"campo in più «Mare»", "un testo con la virgola va tra virgolette: \"Lido di Corallo, Mare\""}},
        {{"board under a station", {"cartello_indicatore,  1100,   (Km 1+100)"}, {}, {}, {}},
         "cartello-sotto-stazione",
         {"il cartello «(Km 1+100)» a 1100 m è perso: la fermata della stazione «Alfa» prende la cella 23 (1150 m)",
          "la fermata della stazione «Alfa» prende la cella 23 (1150 m) del cartello «(Km 1+100)», che va perso"}},
        {{"long name", {}, {}, {{T, alfa, unnamed_alfa + std::string(65536, 'N')}}, {}},
         "testo-troppo-lungo",
         {"il nome della stazione è di 65536 byte, oltre i 65535 che un record del file .sim può tenere: la "
          "compilazione non scrive nessun file"}},
        {{"long board", {"cartello_indicatore,  5000,   " + std::string(66000, 'K')}, {}, {}, {}},
         "testo-troppo-lungo",
         {"il testo del cartello è di 66000 byte"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.c.what);
        std::string messages;
        for (const Diagnostic& d : check_case(row.c).diagnostics)
            if (d.code == row.code)
                messages += d.message + "\n";
        for (const auto& w : row.words)
            EXPECT_NE(messages.find(w), std::string::npos) << w << "\n" << messages;
    }
}

// One typo in the route length puts everything after it beyond the end: the
// typo is told first, with the stations it puts beyond the end under it.
TEST(CheckWording, AMisreadRouteLengthComesFirst)
{
    // Read as 1 m, the route keeps its run-out of 7 km: a signal at 9000 m is beyond its grid.
    const struct {
        std::vector<std::string> train_extra;
        std::size_t errors;
    } rows[] = {{{}, 0}, {{"segnale,    9000,   2, 4, 1,  1, 0,    2,  2,1,1, 0"}, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.errors);
        const CheckReport report = check_case(
            {"misread length", {}, row.train_extra, {{L, "lunghezza percorso,    10000", "lunghezza percorso,    1OOOO"}}, {}});
        ASSERT_FALSE(report.diagnostics.empty());
        const Diagnostic& first = report.diagnostics.front();
        EXPECT_EQ(first.code, "numero-malformato");
        EXPECT_EQ(first.place.line, 2);
        EXPECT_NE(first.message.find("per questo 1 stazione sta oltre la fine del percorso"), std::string::npos)
            << first.message;
        ASSERT_FALSE(first.related.empty());
        EXPECT_EQ(first.related.back().place.line, 8);
        EXPECT_NE(first.related.back().message.find("la stazione «Alfa» a 1000 m"), std::string::npos);
        EXPECT_EQ(report.errors(), row.errors);
        for (const Diagnostic& d : report.diagnostics)
            EXPECT_NE(d.code, "stazione-oltre-la-fine") << d.message;
    }
}

// The positions beyond the grid of one file: one error at the first, the
// others counted once each under it, with the route length they were
// measured against.
TEST(CheckWording, PositionsBeyondTheGridStandUnderTheFirst)
{
    const std::string signal = "segnale,    %,   2, 4, 1,  1, 0,    2,  2,1,1, 0";
    std::vector<std::string> beyond;
    for (const char* at : {"9000", "9500", "9800"})
        beyond.push_back(signal.substr(0, 12) + at + signal.substr(13));
    const CheckReport report =
        check_case({"beyond", {}, beyond, {{L, "lunghezza percorso,    10000", "lunghezza percorso,    1OOOO"}}, {}});
    ASSERT_EQ(report.errors(), 1u);
    const Diagnostic& first = report.diagnostics.at(1); // after the misread length, its cause
    EXPECT_EQ(first.code, "15");
    EXPECT_EQ(first.place.line, 11);
    EXPECT_NE(first.message.find("; anche altre 2 righe più avanti nel file"), std::string::npos) << first.message;
    std::vector<int32_t> related_lines;
    for (const RelatedPlace& r : first.related)
        related_lines.push_back(r.place.line);
    EXPECT_EQ(related_lines, (std::vector<int32_t>{2, 12, 13}));
    EXPECT_EQ(first.related.front().message, "la lunghezza del percorso, letta qui come 1 m");
}

} // namespace
} // namespace autore
