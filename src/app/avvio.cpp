#include "app/avvio.hpp"

#include "app/compile_and_write.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/folder_lock.hpp"
#include "app/own_files.hpp"
#include "app/stop_signals.hpp"
#include "app/payload.hpp"
#include "app/platform.hpp"
#include "app/scenario_files.hpp"
#include "app/source_files.hpp"

#include <exception>
#include <functional>
#include <vector>

namespace tratta {

std::string describe_error(const DataError& e, const std::string& line_source, const std::string& train_source)
{
    std::string text;
    if (e.place.file != SourceFile::none) {
        text.append(e.place.file == SourceFile::line ? line_source : train_source);
        if (e.place.line > 0)
            text.append(":").append(std::to_string(e.place.line));
        text.append(": ");
    }
    text.append("errore ").append(std::to_string(e.code));
    text.append(" a ").append(std::to_string(e.at_m)).append(" m: ");
    text.append(e.meaning());
    return text;
}

namespace {

// The sources that the reader has done with leave the folder, the line file
// first, before any binary file is written.
void delete_sources(const CompileResult& result, const FileNames& names)
{
    if (result.line_source_deleted)
        delete_file(names.line_source);
    if (result.train_source_deleted)
        delete_file(names.train_source);
}

} // namespace

RunOutcome compile_folder_sources(const std::filesystem::path& folder, const std::string& scenario_name,
                                  const std::string& train_name, bool line_table)
{
    const FileNames names = file_names(folder, scenario_name, train_name);
    try {
        const LoadedSource line = load_source(names.line_source);
        const LoadedSource train = load_source(names.train_source);
        CompileAndWrite request{line.text(), train.text(), scenario_name, train_name, line_table,
                                CompilePurpose::program_files, {names.line_table, names.records, names.grid},
                                [&names](const CompileResult& result) { delete_sources(result, names); }};
        const CompileResult result = compile_and_write(request).result;
        switch (result.outcome) {
        case CompileOutcome::error_box: return {1, " Errore n. " + std::to_string(result.box_number), true};
        case CompileOutcome::failure: return {1, result.failure, false};
        case CompileOutcome::clean:
        case CompileOutcome::data_error: break;
        }
        if (const DataError* last = result.last_error())
            return {2,
                    describe_error(*last, display_path(names.line_source.filename()),
                                   display_path(names.train_source.filename())),
                    false};
        return {};
    } catch (const FileFailure& failure) {
        return {1, failure.what(), false};
    }
}

RunOutcome esegui_scenario(const std::filesystem::path& folder) { return esegui_scenario(folder, embedded_texts()); }

RunOutcome esegui_scenario(const std::filesystem::path& folder, const ScenarioTexts& texts)
{
    const FileNames names = file_names(folder, texts.scenario_name, texts.train_name);
    try {
        // One run at a time in the folder; what an earlier run that was
        // stopped left of its own goes first.
        const FolderLock lock(folder);
        remove_stale_temporaries_once(folder);
        // A run that fails for a file it could not replace writes nothing
        // at all: every name of the run is looked at before the first file.
        for (const auto* file : {&names.line_source, &names.train_source, &names.notes, &names.slowdowns,
                                 &names.timetable, &names.line_table, &names.records, &names.grid})
            check_can_replace(*file);
        dati_linea(names, texts);
        dati_treno(names, texts);
        dati_documenti(names, texts);
        return compile_folder_sources(folder, texts.scenario_name, texts.train_name);
    } catch (const FileFailure& failure) {
        return {1, failure.what(), false};
    }
}

namespace {

// Window, run, report: the whole of a program's start. A size limit becomes
// a file that cannot be written, and a stop from outside takes the run's
// temporary files with it.
int run_program(const std::function<RunOutcome(const std::filesystem::path&)>& run)
{
    ignore_file_size_signal();
    install_cleanup_on_signals();
    try {
        const std::filesystem::path folder = platform::program_folder();
        platform::show_wait_window();
        const RunOutcome outcome = run(folder);
        if (outcome.error_box)
            platform::error_box(outcome.message);
        else if (!outcome.message.empty())
            platform::report(outcome.message);
        platform::close_wait_window();
        return outcome.exit_status;
    } catch (const std::exception& e) {
        platform::report(e.what());
        return 1;
    }
}

} // namespace

int avvio()
{
    return run_program([](const std::filesystem::path& folder) { return esegui_scenario(folder); });
}

int avvio_pacchetto()
{
    return run_program([](const std::filesystem::path& folder) -> RunOutcome {
        const auto payload = read_payload(platform::program_file());
        if (const auto* problem = std::get_if<PayloadProblem>(&payload))
            return {1, problem->message, true};
        return esegui_scenario(folder, std::get<ScenarioTexts>(payload));
    });
}

} // namespace tratta
