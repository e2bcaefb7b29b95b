#include "autore/analysis/view_sources.hpp"

#include "app/files.hpp"
#include "autore/analysis/scenario_analysis.hpp"
#include "model/file_decoders.hpp"

#include <algorithm>
#include <memory>
#include <string_view>

namespace autore {

namespace {

SourceLine line_of(const tratta::SourcePlace& p, const ViewSources& names)
{
    if (!p.known())
        return {};
    return {p.file == tratta::SourceFile::line ? names.line_file : names.train_file, p.line, p.column};
}

bool same_bytes(const tratta::Bytes& made, const std::string& on_disk)
{
    return made.size() == on_disk.size() && std::equal(made.begin(), made.end(), on_disk.begin(),
                                                       [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); });
}

// The first binary file the sources do not compile to, or none when they
// make all of them byte for byte.
std::optional<std::filesystem::path> first_different(const tratta::CompiledFiles& made, const CompiledFiles& binaries)
{
    if (!same_bytes(made.records, tratta::read_file(binaries.records)))
        return binaries.records;
    if (!same_bytes(made.grid, tratta::read_file(binaries.grid)))
        return binaries.grid;
    if (binaries.line_table && !same_bytes(made.line_table, tratta::read_file(*binaries.line_table)))
        return *binaries.line_table;
    return std::nullopt;
}

// The source line of every placed object, and the diagnostics given, from
// one analysis of the two files.
void fill_extras(const ViewSources& names, const ScenarioAnalysis& analysis, const std::vector<Diagnostic>& diagnostics,
                 ViewExtras& extras)
{
    extras.sources = names;
    const tratta::RunState& model = analysis.compiled.model;
    for (std::size_t c = 0; c < model.cell_origins.size(); ++c)
        if (model.cell_origins[c].known() && model.cells.at(static_cast<int64_t>(c)).kind != tratta::kind_none)
            extras.object_sources.push_back(
                {ObjectSource::Table::cell, static_cast<int64_t>(c), line_of(model.cell_origins[c], names)});
    for (std::size_t r = 1; r <= tratta::ScenarioRecords::first_board_slot; ++r)
        if (model.record_origins[r].known())
            extras.object_sources.push_back(
                {ObjectSource::Table::record, static_cast<int64_t>(r), line_of(model.record_origins[r], names)});
    for (const Diagnostic& d : diagnostics)
        extras.diagnostics.push_back({d.at_m, d.severity, d.code, d.message, line_of(d.place, names)});
}

std::string_view view_of(const tratta::Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The two source files read and analysed, with or without the line table,
// and the names the page gives them; or why they cannot be read.
std::optional<std::string> analyse_sources(const CompileRequest& files, bool line_table, ViewSources& names,
                                           std::shared_ptr<const ScenarioAnalysis>& analysis)
{
    AuthorFiles read;
    if (auto problem = read_author_files(files, read))
        return problem;
    names = {tratta::display_path(files.line_file.filename()), tratta::display_path(files.train_file.filename())};
    AnalysisRequest request{std::move(read.line.bytes), std::move(read.train.bytes), std::move(read.scenario_name),
                            std::move(read.train_name)};
    request.line_table = line_table;
    analysis = analyse_scenario(std::move(request));
    return std::nullopt;
}

} // namespace

std::optional<std::string> add_sources(const CompileRequest& files, const CompiledFiles& binaries, ViewExtras& extras)
{
    // The line table only when there is one to compare it with.
    ViewSources names;
    std::shared_ptr<const ScenarioAnalysis> analysis;
    if (auto problem = analyse_sources(files, binaries.line_table.has_value(), names, analysis))
        return problem;
    const tratta::CompileResult& compiled = analysis->compiled;

    const std::string pair = "le sorgenti «" + tratta::display_path(files.line_file) + "» e «" +
                             tratta::display_path(files.train_file) + "»";
    if (!compiled.makes_files())
        return pair + " non si compilano (" + (analysis->diagnostics.empty() ? std::string("nessun file")
                                                                            : analysis->diagnostics.front().message) +
               "): non sono quelle dei file da mostrare; nulla è stato scritto";
    if (const auto different = first_different(compiled.files, binaries))
        return pair + " non si compilano nei file da mostrare: «" + tratta::display_path(*different) +
               "» è diverso da quello che ne viene (sorgenti modificate dopo la compilazione, o di un altro "
               "scenario?); nulla è stato scritto";

    fill_extras(names, *analysis, analysis->report.diagnostics, extras);
    return std::nullopt;
}

std::optional<std::string> page_from_sources(const CompileRequest& files, SourcesPage& page, bool line_table)
{
    ViewSources names;
    std::shared_ptr<const ScenarioAnalysis> analysis;
    if (auto problem = analyse_sources(files, line_table, names, analysis))
        return problem;
    // The diagnostics an editor shows for the same files, word for word.
    fill_extras(names, *analysis, analysis->diagnostics, page.extras);
    for (const ViewDiagnostic& d : page.extras.diagnostics)
        page.data_error = page.data_error || d.severity == Severity::error;
    const tratta::CompileResult& result = analysis->compiled;
    if (result.makes_files()) {
        // Read back from the images exactly as `view` reads the files on disk.
        LoadedScenario loaded;
        loaded.records = tratta::decode_scenario_records(view_of(result.files.records));
        loaded.cells = tratta::decode_route_cells(view_of(result.files.grid));
        if (!result.files.line_table.empty())
            loaded.line_table = tratta::decode_line_profile(view_of(result.files.line_table));
        page.scenario = std::move(loaded);
    }
    return std::nullopt;
}

} // namespace autore
