// The driver's documents made from an author's sources: golden documents for
// a small scenario, and the embedded scenario's documents as export makes
// them, both held to the layout of the embedded documents.

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "scenario/data_set.hpp"
#include "support/temp_folder.hpp"
#include "tools/documents/document_layout.hpp"
#include "tools/documents/valle_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace autore {
namespace {

using tratta::testing::crlf_split;
using tratta::testing::read_bytes;
using tratta::testing::TempFolder;

std::vector<std::string> spacers(std::size_t n) { return std::vector<std::string>(n, testing::sheet_spacer); }

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Documents {
    std::vector<std::string> sheet, order, notes;
};

Documents read_documents(const std::filesystem::path& dir, const std::string& scenario, const std::string& train)
{
    const auto f = tratta::file_names(dir, scenario, train);
    return {crlf_split(read_bytes(f.timetable)), crlf_split(read_bytes(f.slowdowns)), crlf_split(read_bytes(f.notes))};
}

TEST(Documents, GoldenDocumentsOfASmallScenario)
{
    TempFolder dir;
    const auto files = testing::write_valle(dir.path());
    const auto run = testing::run_tool(
        {"documents", files.line_file.string(), files.train_file.string(), "-o", (dir / "out").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Documents d = read_documents(dir / "out", "Valle", "R 101");

    const std::vector<std::string> sheet =
        std::vector<std::string>{
            "",
            "",
            "  ___________________                                               ______________",
            " |                   |                    SCHEDA 1/1               |              |",
            " |   TRENO n.  101   |                   da: Alfa Centrale         |              |",
            " |___________________|                    a: Delta                 |     100%     |",
            "                                                                   |______________|",
            "  ___________________                ___________________",
            " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
            " |        R          |              |                   |",
            " |___________________|              |___________________|",
            "",
            "  ________________________________________________________________________________",
            " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
            " | Lim.|Marc.|          |  Rs |                            |                |     |",
            " |_____|_____|__________|_____|____________________________|________________|_____|",
            // The origin: the limit in force and the departure, further right.
            " | 100 |     |    1.000 |     |Alfa Centrale               |         8.00   |     |",
            " |     |     |    5.000 |     |Cippo Km 5.000              |                |     |",
            " |  80 |     |    6.000 |     |                            |                |     |",
            " |     |     |          |     |                            |                |     |",
            " |     |     |    7.000 |     |Beta                        |     8.04.30    |     |",
            // The count jumps by 2 km: the old count with "/", the new one under it.
            " |     |     |    8.000/|     |                            |                |     |",
            " |     |     |   10.000 |     |                            |                |     |",
            " |     |     |          |     |                            |                |     |",
            " |     |     |   13.000 |     |Gamma                       |     8.09       |     |",
            " | 120 |     |   14.000 |     |                            |                |     |",
            " |     |     |   14.500 |     |Dev.U.                      |                |     |",
            " |  60 |     |   15.000 |     |Inizio rallentamento N. 1   |                |     |",
            " | 120 |     |   15.500 |     |Fine rallentamento N. 1     |                |     |",
        } +
        spacers(18) +
        std::vector<std::string>{
            " |_____|_____|___18.000_|_____|Delta_______________________|_____8.14_______|_____|",
            "",
        };
    EXPECT_EQ(d.sheet, sheet);
    EXPECT_EQ(testing::expect_sheet_layout(d.sheet), 1u);

    ASSERT_EQ(d.order.size(), 46u);
    EXPECT_EQ(d.order[4], "  Linea  Alfa C.le-Delta");
    EXPECT_EQ(d.order[6], "  Si ordina al macchinista del treno R101 di effettuare i seguenti rallentamenti");
    EXPECT_EQ(d.order[12], " | 1 |Gamma e Delta               |    15000   |    60    |   500   |            |");
    EXPECT_EQ(d.order[13], " |   |                            |            |          |         |            |");
    testing::expect_order_layout(d.order, 1);

    const std::vector<std::string> notes = {
        "  Il R 101 parte da Alfa Centrale alle 8.00 e arriva a Delta alle 8.14, dopo 15,000 chilometri",
        "di percorso sulla linea dello scenario Valle.",
        "  La composizione \xE8 di 5 vetture; la massa bloccata \xE8 di .... tonnellate, a cui va aggiunta",
        "quella della locomotiva; la percentuale di massa frenata \xE8 del 100%, la stessa scritta nella",
        "scheda treno.",
        "  Il treno si ferma a Gamma.",
        "  (Da completare a cura dell'autore: la storia del treno e del suo servizio, le particolarit\xE0",
        "del percorso e ci\xF2 che il macchinista deve sapere prima di partire.)",
        "  L'autore dello scenario",
        "  (indirizzo di posta elettronica)",
    };
    EXPECT_EQ(d.notes, notes);
    testing::expect_notes_layout(d.notes);
}

TEST(Documents, LongRouteTakesAsManySheetsAsItNeeds)
{
    // Forty stations 2 km apart, each on a row of its own after a spacer.
    TempFolder dir;
    std::vector<std::string> train = {"[generale]", "percentuale massa frenata,    120", "[vel_limite]",
                                      "velocita,  0,  120", "[stazioni]"};
    for (int i = 0; i < 40; ++i) {
        const std::string time = i == 0 ? "10, 0, 0" : i == 39 ? "11, 30, 0" : "0, 0, 0";
        train.push_back("stazione, " + std::to_string(1000 + 2000 * i) + ", 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, " +
                        time + ", Fermata " + std::to_string(i + 1));
    }
    train.emplace_back("[fine]");
    const testing::ValleFiles files{dir / "Lunga_linea.txt", dir / "Lunga_R 101-.txt"};
    tratta::testing::write_bytes(files.line_file,
                                 tratta::testing::crlf_lines({"[generale]", "lunghezza percorso,    90000", "[fine]"}));
    tratta::testing::write_bytes(files.train_file, tratta::testing::crlf_lines(train));
    const auto run = testing::run_tool(
        {"documents", files.line_file.string(), files.train_file.string(), "-o", dir.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const Documents d = read_documents(dir.path(), "Lunga", "R 101");
    EXPECT_EQ(testing::expect_sheet_layout(d.sheet), 3u);
    std::size_t stations = 0;
    for (const auto& line : d.sheet)
        if (line.find("|Fermata ") != std::string::npos)
            ++stations;
    EXPECT_EQ(stations, 40u);
    testing::expect_order_layout(d.order, 0);
}

TEST(Documents, TheExportedEmbeddedSourcesMakeThem)
{
    TempFolder dir;
    const auto run = testing::run_tool({"export", (dir / "modello").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto tpl = tratta::file_names(dir / "modello", tratta::scenario_constant, tratta::train_constant);
    const auto made = testing::run_tool(
        {"documents", tpl.line_source.string(), tpl.train_source.string(), "-o", (dir / "fatti").string()});
    ASSERT_EQ(made.status, 0) << made.err;
    const Documents d = read_documents(dir / "fatti", tratta::scenario_constant, tratta::train_constant);

    testing::expect_sheet_layout(d.sheet);
    // The origin with its departure, the destination with its arrival.
    EXPECT_EQ(d.sheet[16], " |  30 |     |    0.000 |     |Portaurea Centrale          |     19.35.30   |     |");
    EXPECT_EQ(d.sheet[d.sheet.size() - 2],
              " |_____|_____|___79.300_|_____|Sarmenta Centrale___________|_____22.29______|_0.5_|");
    // The three changes of count of the line file, and the train file's limits where it sets them.
    for (const std::string pair : {"  287.550/|", "   31.100/|", "   31.450/|"})
        EXPECT_EQ(std::count_if(d.sheet.begin(), d.sheet.end(),
                                [&](const std::string& l) { return l.find(pair) != std::string::npos; }),
                  1)
            << pair;
    for (const std::string row : {" | 100 |     |  285.550 |", " |  60 |     |  287.150 |", " | 100 |     |   24.500 |",
                                  " | 130 |     |   34.550 |", " |  80 |     |    4.100 |"})
        EXPECT_EQ(
            std::count_if(d.sheet.begin(), d.sheet.end(), [&](const std::string& l) { return l.rfind(row, 0) == 0; }),
            1)
            << row;

    // The two slowdowns come out as the embedded order lists them.
    testing::expect_order_layout(d.order, 2);
    const auto embedded = tratta::testing::written_lines(tratta::rallentamenti_data());
    EXPECT_EQ(d.order[4], embedded[4]);
    EXPECT_EQ(d.order[6], embedded[6]);
    EXPECT_EQ(d.order[12], embedded[12]);
    EXPECT_EQ(d.order[13], embedded[13]);

    testing::expect_notes_layout(d.notes);
    std::string prose;
    for (const auto& line : d.notes)
        prose += line + " ";
    EXPECT_NE(prose.find("16 vetture"), std::string::npos) << prose;
    EXPECT_NE(prose.find("del 125%"), std::string::npos) << prose;
    EXPECT_NE(prose.find("si ferma a Castelnebbio, Valtorre Centrale e Pontelagno."), std::string::npos) << prose;
}

} // namespace
} // namespace autore
