#include "autore/analysis/view_sources.hpp"

#include "app/files.hpp"
#include "autore/analysis/check.hpp"
#include "model/file_decoders.hpp"

#include <string_view>

namespace autore {

namespace {

SourceLine line_of(const tratta::SourcePlace& p, const ViewSources& names)
{
    if (!p.known())
        return {};
    return {p.file == tratta::SourceFile::line ? names.line_file : names.train_file, p.line, p.column};
}

// The source line of every placed object and the diagnostics of the check,
// from one compile made with its origins noted and its fields traced.
void fill_extras(const CompileRequest& files, const AuthorFiles& read, const tratta::CompileResult& compiled,
                 ViewExtras& extras)
{
    const ViewSources names{tratta::display_path(files.line_file.filename()),
                            tratta::display_path(files.train_file.filename())};
    extras.sources = names;
    const tratta::RunState& model = compiled.model;
    for (std::size_t c = 0; c < model.cell_origins.size(); ++c)
        if (model.cell_origins[c].known() && model.cells.at(static_cast<int64_t>(c)).kind != tratta::kind_none)
            extras.object_sources.push_back(
                {ObjectSource::Table::cell, static_cast<int64_t>(c), line_of(model.cell_origins[c], names)});
    for (std::size_t r = 1; r <= tratta::ScenarioRecords::first_board_slot; ++r)
        if (model.record_origins[r].known())
            extras.object_sources.push_back(
                {ObjectSource::Table::record, static_cast<int64_t>(r), line_of(model.record_origins[r], names)});

    const CheckReport report =
        check_compiled({read.line.bytes, read.train.bytes, read.scenario_name, read.train_name}, compiled);
    for (const Diagnostic& d : report.diagnostics)
        extras.diagnostics.push_back({d.at_m, d.severity, d.code, d.message, line_of(d.place, names)});
}

std::string_view view_of(const tratta::Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

std::optional<std::string> add_sources(const CompileRequest& files, ViewExtras& extras)
{
    AuthorFiles read;
    if (auto problem = read_author_files(files, read))
        return problem;
    tratta::CompileInput input{read.line.text(), read.train.text(), read.scenario_name, read.train_name, true};
    input.note_origins = true;
    input.trace_fields = true;
    input.keep_line_table = false;
    fill_extras(files, read, tratta::compile(input), extras);
    return std::nullopt;
}

std::optional<std::string> page_from_sources(const CompileRequest& files, SourcesPage& page)
{
    CompileRequest with_plan = files;
    with_plan.line_table = true;
    const AuthorCompile compiled = compile_author_files(with_plan);
    if (!compiled.scenario)
        return compiled.problem;
    const tratta::CompileResult& result = compiled.scenario->result;
    fill_extras(files, *compiled.scenario, result, page.extras);
    for (const ViewDiagnostic& d : page.extras.diagnostics)
        page.data_error = page.data_error || d.severity == Severity::error;
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
