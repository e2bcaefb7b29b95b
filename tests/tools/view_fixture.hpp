#pragma once
// A small scenario for the route page with what a check and the in-memory
// compile will one day fill in, filled in by hand: the source line of a
// signal, two stations, a speed indicator and a sign board, and two
// diagnostics, one at a chainage and one without.

#include "autore/scenario_files/compile_sources.hpp"
#include "autore/scenario_files/route_output.hpp"
#include "autore/route_page/view_extras.hpp"
#include "tools/small_scenario.hpp"

#include <filesystem>
#include <stdexcept>

namespace autore::testing {

struct ViewFixture {
    LoadedScenario scenario;
    ViewExtras extras;
};

// The line file's lines 6 to 8 and the train file's lines 11 to 13 are the
// extra ones; the signal stands on line 10 and the first station on line 8.
inline ViewFixture make_view_fixture(const std::filesystem::path& dir)
{
    const auto sources = write_small_scenario(
        dir,
        {"indicatori_vmax,  4000,  85,  90,  95,  0,  80,  85,  90,  1", "cartello_indicatore,  6000,   (Km 6+000)",
         "montagna,   7000,  9000,  12"},
        {"stazione,    9000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 15, 30, Beta",
         "rallentamento,  6500,    60, 1000, 0,  1,  0", "abbattimento,    8000,   270"});
    CompileRequest request;
    request.line_file = sources.line_file;
    request.train_file = sources.train_file;
    request.out_dir = dir / "out";
    std::filesystem::create_directories(request.out_dir);
    const CompileReport compiled = compile_sources(request);
    if (compiled.exit_status != 0)
        throw std::runtime_error("the view fixture does not compile");

    ViewFixture f;
    f.scenario = load_scenario({request.out_dir}, "", "");
    const std::string line = "Valle_linea.txt";
    const std::string train = "Valle_R 101-.txt";
    using Table = ObjectSource::Table;
    f.extras.sources = ViewSources{line, train};
    f.extras.object_sources = {
        {Table::cell, 61, {train, 10, 1}},  // the signal at 3000 m
        {Table::record, 1, {train, 8, 1}},  // Alfa
        {Table::record, 2, {train, 11, 1}}, // Beta
        {Table::cell, 81, {line, 6, 1}},    // the speed indicator at 4000 m
        {Table::cell, 121, {line, 7, 1}},   // the sign board at 6000 m
    };
    f.extras.diagnostics = {
        {5000, Severity::warning, "W1", "pendenza del 5 per mille subito dopo il segnale", {line, 5, 1}},
        {std::nullopt, Severity::error, "E2", "manca la riga della sabbia", {train, 1, 1}},
    };
    return f;
}

} // namespace autore::testing
