#include "autore/decompile/decompile.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "autore/decompile/round_trip.hpp"
#include "autore/scenario_files/binary_files.hpp"
#include "autore/scenario_files/file_name_rules.hpp"
#include "model/byte_reader.hpp"
#include "model/code_page.hpp"
#include "model/file_decoders.hpp"

namespace autore {

namespace {

namespace fs = std::filesystem;
using tratta::ScenarioRecords;

// The stamps of a finished compile: 610 in record 85, 5121 in cell 1.
constexpr int16_t record_stamp = 610;
constexpr int16_t grid_stamp = 5121;

std::string name_of(const fs::path& file) { return "\"" + tratta::display_path(file) + "\""; }

} // namespace

std::optional<std::string> scenario_problem(const LoadedScenario& s, const CompiledFiles& files)
{
    const int64_t length = s.records[ScenarioRecords::train_header].end_m;
    if (length < 0 || length > 1000000)
        return name_of(files.records) + " non è il file dei record di uno scenario compilato: la lunghezza del "
                                        "percorso è " + std::to_string(length) + " m (da 0 a 1000000)";
    if (s.records[ScenarioRecords::scenario_header].int_a != record_stamp)
        return name_of(files.records) + " non porta il timbro 610 di una compilazione completa (record 85)";
    tratta::RouteCells grid;
    grid.create(static_cast<int32_t>(length));
    const auto cells = static_cast<std::size_t>(grid.last()) + 1;
    if (s.cells.size() != cells)
        return name_of(files.grid) + " ha " + std::to_string(s.cells.size()) + " celle, ma il percorso di " +
               std::to_string(length) + " m di " + name_of(files.records) + " ne vuole " + std::to_string(cells) +
               ": i due file non sono dello stesso scenario";
    if (s.cells.size() < 2 || s.cells[1].value != grid_stamp)
        return name_of(files.grid) + " non porta il timbro 5121 di una compilazione completa (cella 1)";
    if (s.line_table && s.line_table->last_m() != length + 7000)
        return name_of(*files.line_table) + " va fino al metro " + std::to_string(s.line_table->last_m()) +
               ", ma il percorso di " + std::to_string(length) + " m di " + name_of(files.records) +
               " vuole la pianta fino al metro " + std::to_string(length + 7000) +
               ": i due file non sono dello stesso scenario";
    return std::nullopt;
}

namespace {

// The names the sources take: those given, else those the records hold.
std::optional<std::string> source_names(const DecompileRequest& rq, const ScenarioRecords& r, std::string& scenario,
                                        std::string& train)
{
    scenario = rq.scenario.empty() ? tratta::cp1252_to_utf8(r[ScenarioRecords::scenario_header].text) : rq.scenario;
    train = rq.train.empty() ? tratta::cp1252_to_utf8(r[ScenarioRecords::run_header].text) : rq.train;
    return names_problem(scenario, train);
}

} // namespace

DecompileReport decompile_scenario(const DecompileRequest& rq)
{
    DecompileReport report;
    const auto refuse = [&](std::string problem) {
        report.exit_status = 1;
        report.problems.push_back(std::move(problem));
        return report;
    };
    CompiledFiles files;
    LoadedScenario scenario;
    GivenFiles given;
    try {
        files = files_of(rq.inputs, rq.scenario, rq.train);
        given.records = tratta::read_file(files.records);
        given.grid = tratta::read_file(files.grid);
        if (files.line_table)
            given.line_table = tratta::read_file(*files.line_table);
        const auto decoded = [&](const fs::path& file, auto decode, const std::string& bytes) {
            try {
                return decode(bytes);
            } catch (const tratta::LayoutError& e) {
                throw tratta::LayoutError(name_of(file) + ": " + e.what());
            }
        };
        scenario.records = decoded(files.records, [](std::string_view b) { return tratta::decode_scenario_records(b); },
                                   given.records);
        scenario.cells = decoded(files.grid, [](std::string_view b) { return tratta::decode_route_cells(b); },
                                 given.grid);
        if (files.line_table)
            scenario.line_table = decoded(
                *files.line_table, [](std::string_view b) { return tratta::decode_line_profile(b); }, given.line_table);
    } catch (const FindError& e) {
        return refuse(e.what());
    } catch (const tratta::FileFailure& e) {
        return refuse(e.what());
    } catch (const tratta::LayoutError& e) {
        return refuse(std::string("formato non valido: ") + e.what());
    }
    if (auto problem = scenario_problem(scenario, files))
        return refuse(*problem + ": nulla è stato scritto");

    std::string scenario_name;
    std::string train_name;
    if (auto problem = source_names(rq, scenario.records, scenario_name, train_name))
        return refuse(*problem + ": indicare un nome con --scenario o --train");

    RoundTrip trip = round_trip(scenario, given);
    RebuiltSources& sources = trip.sources;
    std::vector<std::string>& differences = trip.differences;

    // The two sources, complete beside their places before either takes it.
    const auto names = tratta::file_names(rq.out_dir, tratta::utf8_to_cp1252(scenario_name),
                                          tratta::utf8_to_cp1252(train_name));
    for (const auto& file : {names.line_source, names.train_source}) {
        std::error_code ec;
        if (!rq.force && fs::exists(fs::symlink_status(file, ec)))
            return refuse("il file " + name_of(file) + " esiste già: nulla è stato scritto (--force lo sovrascrive)");
    }
    try {
        std::error_code ec;
        fs::create_directories(rq.out_dir, ec);
        std::vector<tratta::StagedFile> staged;
        staged.emplace_back(names.line_source, sources.line);
        staged.emplace_back(names.train_source, sources.train);
        tratta::replace_together(staged);
    } catch (const tratta::FileFailure& e) {
        return refuse(e.what());
    }
    report.written = {names.line_source, names.train_source};
    for (auto& note : sources.notes)
        report.problems.push_back(std::move(note));
    if (differences.empty()) {
        report.messages.push_back("esatto: compilati, i due sorgenti danno gli stessi file binari, byte per byte");
        return report;
    }
    report.exit_status = 2;
    report.problems.push_back("non esatto: compilati, i due sorgenti non danno gli stessi file; differiscono:");
    for (auto& d : differences)
        report.problems.push_back("  " + std::move(d));
    return report;
}

} // namespace autore
