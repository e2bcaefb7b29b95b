#include "autore/driver_documents/documents.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "autore/scenario_files/compile_sources.hpp"
#include "autore/route/compiled_model.hpp"
#include "autore/driver_documents/form_line.hpp"
#include "autore/driver_documents/notes_template.hpp"
#include "autore/driver_documents/slowdown_order.hpp"
#include "autore/driver_documents/timetable_sheet.hpp"
#include "autore/driver_documents/timetable_table.hpp"
#include "autore/diagnostics/report_formats.hpp"
#include "model/code_page.hpp"

#include <exception>
#include <optional>
#include <system_error>

namespace autore {

namespace {

// A scenario compiled, gathered and planned; or the reason why not.
struct Worked {
    std::vector<std::string> problems;
    SourceNames names;
    std::vector<Diagnostic> diagnostics;
    std::string scenario; // UTF-8
    std::string train;
    bool data_errors = false;
    std::optional<DocumentData> data;
    TimetablePlan plan;
};

Worked work_out(const ScenarioRun& run)
{
    Worked w;
    w.names = {tratta::display_path(run.line_file), tratta::display_path(run.train_file)};
    CompileRequest names;
    names.line_file = run.line_file;
    names.train_file = run.train_file;
    // Bytes already in memory (the export's template) have no file to check.
    if (auto problem = run.line_bytes ? std::nullopt : sources_problem(run.line_file, run.train_file)) {
        w.problems.push_back(*problem);
        return w;
    }
    if (auto problem = resolve_names(names, w.scenario, w.train)) {
        w.problems.push_back(*problem);
        return w;
    }
    CompiledModel model =
        run.compiled && run.train_bytes
            ? model_of(*run.compiled, std::string(*run.train_bytes))
            : compile_model({run.line_file, run.train_file, w.scenario, w.train, run.line_bytes, run.train_bytes});
    w.problems = std::move(model.problems);
    w.diagnostics = std::move(model.diagnostics);
    if (!model.compiled)
        return w;
    w.data_errors = model.data_errors;
    w.data = gather_documents(model.records, model.cells, model.station_count, model.train_bytes);
    w.plan = plan_timetable(*w.data, run.dynamics);
    for (const Finding& f : w.plan.findings)
        w.diagnostics.push_back(finding_diagnostic(f));
    return w;
}

// The work done and the report begun with its problems; nothing when no
// tables came of it.
template <typename Report> std::optional<Worked> begin_report(const ScenarioRun& run, Report& report)
{
    Worked w = work_out(run);
    report.problems = std::move(w.problems);
    report.names = w.names;
    report.diagnostics = std::move(w.diagnostics);
    if (!w.data) {
        report.exit_status = 1;
        return std::nullopt;
    }
    return w;
}

} // namespace

MadeDocuments make_documents(const ScenarioRun& run)
{
    MadeDocuments made;
    Worked w = work_out(run);
    made.problems = std::move(w.problems);
    for (const Diagnostic& d : w.diagnostics)
        made.problems.push_back(text_line(d, w.names));
    made.data_errors = w.data_errors;
    if (!w.data)
        return made;
    made.texts = DocumentTexts{document_bytes(notes_template_lines(*w.data, w.plan)),
                               document_bytes(slowdown_order_lines(*w.data, w.plan)),
                               document_bytes(timetable_sheet_lines(*w.data, w.plan))};
    return made;
}

DocumentsReport write_documents(const ScenarioRun& run, const std::filesystem::path& out_dir)
{
    DocumentsReport report;
    const auto w = begin_report(run, report);
    if (!w)
        return report;
    try {
        std::error_code ec;
        std::filesystem::create_directories(out_dir, ec);
        const tratta::FileNames names =
            tratta::file_names(out_dir, tratta::utf8_to_cp1252(w->scenario), tratta::utf8_to_cp1252(w->train));
        const DocumentData& data = *w->data;
        std::vector<tratta::StagedFile> staged;
        staged.emplace_back(names.notes, document_bytes(notes_template_lines(data, w->plan)));
        staged.emplace_back(names.slowdowns, document_bytes(slowdown_order_lines(data, w->plan)));
        staged.emplace_back(names.timetable, document_bytes(timetable_sheet_lines(data, w->plan)));
        for (auto& file : staged) {
            file.replace();
            report.written.push_back(file.file());
        }
    } catch (const tratta::FileFailure& failure) {
        report.exit_status = 1;
        report.problems.emplace_back(failure.what());
        return report;
    }
    report.exit_status = w->data_errors ? 2 : 0;
    return report;
}

TimetableReport check_timetable(const ScenarioRun& run)
{
    TimetableReport report;
    const auto w = begin_report(run, report);
    if (!w)
        return report;
    report.table = timetable_table(*w->data, w->plan);
    report.exit_status = w->data_errors || !w->plan.findings.empty() ? 2 : 0;
    return report;
}

} // namespace autore
