#pragma once
// Scenarios for the round-trip tests: written from a few lines, compiled
// into a folder as an author compiles them, and the three files read back.

#include "autore/scenario_files/compile_sources.hpp"
#include "support/temp_folder.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace autore::testing {

struct ScenarioLines {
    std::vector<std::string> line_general; // after the route length
    std::vector<std::string> line_body;
    std::vector<std::string> train_general;
    std::vector<std::string> train_body;
    std::string length = "10000";
};

struct CompiledScenario {
    std::filesystem::path line_file;
    std::filesystem::path train_file;
    int status = -1; // of the compile
};

// Writes "Valle_linea.txt" and "Valle_R 101-.txt" into dir and compiles them there.
inline CompiledScenario compile_lines(const std::filesystem::path& dir, const ScenarioLines& s, bool line_table = true)
{
    std::vector<std::string> line{"[generale]", "lunghezza percorso,  " + s.length};
    line.insert(line.end(), s.line_general.begin(), s.line_general.end());
    line.push_back("[corpo]");
    line.insert(line.end(), s.line_body.begin(), s.line_body.end());
    line.push_back("[fine]");
    std::vector<std::string> train{"[generale]"};
    train.insert(train.end(), s.train_general.begin(), s.train_general.end());
    train.push_back("[corpo]");
    train.insert(train.end(), s.train_body.begin(), s.train_body.end());
    train.push_back("[fine]");
    std::filesystem::create_directories(dir);
    CompiledScenario c{dir / "Valle_linea.txt", dir / "Valle_R 101-.txt"};
    tratta::testing::write_bytes(c.line_file, tratta::testing::crlf_lines(line));
    tratta::testing::write_bytes(c.train_file, tratta::testing::crlf_lines(train));
    CompileRequest rq;
    rq.line_file = c.line_file;
    rq.train_file = c.train_file;
    rq.out_dir = dir;
    rq.line_table = line_table;
    c.status = compile_sources(rq).exit_status;
    return c;
}

// The three compiled files of "Valle" / "R 101" in dir, as their bytes.
struct ThreeFiles {
    std::string line_table;
    std::string records;
    std::string grid;
    bool operator==(const ThreeFiles&) const = default;
};

inline ThreeFiles three_files(const std::filesystem::path& dir, const std::string& scenario = "Valle",
                              const std::string& train = "R 101")
{
    ThreeFiles f;
    const auto table = dir / (scenario + "_linea.dat");
    if (std::filesystem::exists(table))
        f.line_table = tratta::testing::read_bytes(table);
    f.records = tratta::testing::read_bytes(dir / (scenario + "_" + train + ".sim"));
    f.grid = tratta::testing::read_bytes(dir / (scenario + "_" + train + ".dat"));
    return f;
}

} // namespace autore::testing
