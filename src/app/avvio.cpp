#include "app/avvio.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/platform.hpp"
#include "app/scenario_files.hpp"
#include "app/source_files.hpp"
#include "compile/compile.hpp"

#include <exception>
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

// The three binaries are all complete beside their places before any of them
// replaces an older file.
void write_binaries(const CompileResult& result, const FileNames& names)
{
    std::vector<StagedFile> staged;
    staged.reserve(3);
    if (!result.files.line_table.empty())
        staged.emplace_back(names.line_table, as_text(result.files.line_table));
    staged.emplace_back(names.records, as_text(result.files.records));
    staged.emplace_back(names.grid, as_text(result.files.grid));
    replace_together(staged);
}

} // namespace

RunOutcome compile_folder_sources(const std::filesystem::path& folder, const std::string& scenario_name,
                                  const std::string& train_name, bool line_table)
{
    const FileNames names = file_names(folder, scenario_name, train_name);
    try {
        const LoadedSource line = load_source(names.line_source);
        const LoadedSource train = load_source(names.train_source);
        const CompileResult result = compile({line.text(), train.text(), scenario_name, train_name, line_table});
        delete_sources(result, names);

        switch (result.outcome) {
        case CompileOutcome::error_box: return {1, " Errore n. " + std::to_string(result.box_number), true};
        case CompileOutcome::failure: return {1, result.failure, false};
        case CompileOutcome::clean:
        case CompileOutcome::data_error: break;
        }
        write_binaries(result, names);
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

RunOutcome esegui_scenario(const std::filesystem::path& folder)
{
    const FileNames names = file_names(folder, scenario_constant, train_constant);
    try {
        dati_linea(names);
        dati_treno(names);
        dati_note(names);
        dati_rallentamenti(names);
        dati_scheda(names);
    } catch (const FileFailure& failure) {
        return {1, failure.what(), false};
    }
    return compile_folder_sources(folder, scenario_constant, train_constant);
}

int avvio()
{
    try {
        const std::filesystem::path folder = platform::program_folder();
        platform::show_wait_window();
        const RunOutcome outcome = esegui_scenario(folder);
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

} // namespace tratta
