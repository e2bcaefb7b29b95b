#pragma once
// A small scenario an author might write: a 10 km line with two gradients and
// a train with one station and one signal. Tests add their own lines before
// the closing "[fine]" of either file.

#include "support/temp_folder.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace autore::testing {

struct SmallScenario {
    std::filesystem::path line_file;
    std::filesystem::path train_file;
};

inline std::vector<std::string> small_line_lines()
{
    return {"[generale]", "lunghezza percorso,    10000", "[pendenze]", "pendenza,  0,   0", "pendenza,  2000,   5",
            "[fine]"};
}

inline std::vector<std::string> small_train_lines()
{
    return {"[generale]",
            "numero vetture,    5",
            "[aderenze]",
            "aderenza,  0,  80",
            "[vel_limite]",
            "velocita,  0,  100",
            "[stazioni]",
            "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa",
            "[segnali]",
            "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
            "[fine]"};
}

// Writes "<scenario>_linea.txt" and "<scenario>_<train>-.txt" into dir, each
// with the extra lines just before its last line.
inline SmallScenario write_small_scenario(const std::filesystem::path& dir, const std::vector<std::string>& line_extra = {},
                                          const std::vector<std::string>& train_extra = {},
                                          const std::string& scenario = "Valle", const std::string& train = "R 101")
{
    auto line = small_line_lines();
    line.insert(line.end() - 1, line_extra.begin(), line_extra.end());
    auto trn = small_train_lines();
    trn.insert(trn.end() - 1, train_extra.begin(), train_extra.end());
    SmallScenario s{dir / (scenario + "_linea.txt"), dir / (scenario + "_" + train + "-.txt")};
    tratta::testing::write_bytes(s.line_file, tratta::testing::crlf_lines(line));
    tratta::testing::write_bytes(s.train_file, tratta::testing::crlf_lines(trn));
    return s;
}

} // namespace autore::testing
