#pragma once
// A small scenario of an author's own for the documents: a 20 km line whose
// kilometre count jumps by 2 km at 8000 m, two sign boards, and a train that
// leaves Alfa Centrale at 8.00, passes Beta, stops at Gamma and arrives at
// Delta at 8.14, with a change of limit at 6000 and 12000 m and one slowdown.

#include "support/temp_folder.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace autore::testing {

struct ValleFiles {
    std::filesystem::path line_file;
    std::filesystem::path train_file;
};

inline std::vector<std::string> valle_line_lines()
{
    return {"[generale]",
            "lunghezza percorso,    20000",
            "progressiva chilometrica uno,    8000,    2000,    0",
            "[pendenze]",
            "pendenza,  0,   0",
            "[indicazioni]",
            "cartello_indicatore,  5000,   (  Cippo  )(Km 5+000)",
            "cartello_indicatore,  12500,   (Dev.)(U.  )",
            "[fine]"};
}

inline std::vector<std::string> valle_train_lines()
{
    return {"[generale]",
            "numero vetture,    5",
            "percentuale massa frenata,    100",
            "orologio,    8  0  0",
            "[aderenze]",
            "aderenza,  0,  80",
            "[vel_limite]",
            "velocita,  0,  100",
            "velocita,  6000,  80",
            "velocita,  12000,  120",
            "[stazioni]",
            "stazione,    1000,  8,  500,  1, 0, 0,  1,1,0,  4,3,1,    1,   8, 0, 0, Alfa Centrale",
            "stazione,    7000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, Beta",
            "stazione,   11000, 12,  600,  0, 1, 0,  4,1,0,  4,3,1,    0,   0, 0, 0, Gamma",
            "stazione,   16000,  8,  500,  0, 0, 0,  1,1,0,  4,3,1,    0,   8, 14, 0, Delta",
            "[rallentamenti]",
            "rallentamento,  13000,    60,  500, 0,  1,  0",
            "[fine]"};
}

// Writes "Valle_linea.txt" and "Valle_R 101-.txt" (the lines given, or those above) into dir.
inline ValleFiles write_valle(const std::filesystem::path& dir, std::vector<std::string> train = valle_train_lines())
{
    ValleFiles f{dir / "Valle_linea.txt", dir / "Valle_R 101-.txt"};
    tratta::testing::write_bytes(f.line_file, tratta::testing::crlf_lines(valle_line_lines()));
    tratta::testing::write_bytes(f.train_file, tratta::testing::crlf_lines(train));
    return f;
}

} // namespace autore::testing
