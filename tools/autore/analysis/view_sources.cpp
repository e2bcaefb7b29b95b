#include "autore/analysis/view_sources.hpp"

#include "app/files.hpp"
#include "autore/analysis/check.hpp"

namespace autore {

namespace {

SourceLine line_of(const tratta::SourcePlace& p, const ViewSources& names)
{
    if (!p.known())
        return {};
    return {p.file == tratta::SourceFile::line ? names.line_file : names.train_file, p.line, p.column};
}

} // namespace

std::optional<std::string> add_sources(const CompileRequest& files, ViewExtras& extras)
{
    AuthorFiles read;
    if (auto problem = read_author_files(files, read))
        return problem;
    const ViewSources names{tratta::display_path(files.line_file.filename()),
                            tratta::display_path(files.train_file.filename())};
    extras.sources = names;

    tratta::CompileInput input{read.line.text(), read.train.text(), read.scenario_name, read.train_name, true};
    input.note_origins = true;
    input.trace_fields = true;
    input.keep_line_table = false;
    const tratta::CompileResult compiled = tratta::compile(input);
    const tratta::RunState& model = compiled.model;
    for (std::size_t c = 0; c < model.cell_origins.size(); ++c)
        if (model.cell_origins[c].known() && model.cells.at(static_cast<int64_t>(c)).kind != tratta::kind_none)
            extras.object_sources.push_back(
                {ObjectSource::Table::cell, static_cast<int64_t>(c), line_of(model.cell_origins[c], names)});
    for (std::size_t r = 1; r <= tratta::ScenarioRecords::first_board_slot; ++r)
        if (model.record_origins[r].known())
            extras.object_sources.push_back(
                {ObjectSource::Table::record, static_cast<int64_t>(r), line_of(model.record_origins[r], names)});

    const CheckReport report = check_compiled({read.line.bytes, read.train.bytes, read.scenario_name, read.train_name}, compiled);
    for (const Diagnostic& d : report.diagnostics)
        extras.diagnostics.push_back({d.at_m, d.severity, d.code, d.message, line_of(d.place, names)});
    return std::nullopt;
}

} // namespace autore
