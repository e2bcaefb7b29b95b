#include "app/avvio.hpp"

#include "app/errore.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/memorizza_percorso.hpp"
#include "app/platform.hpp"
#include "app/run_state.hpp"
#include "model/error_meanings.hpp"
#include "scenario/text_writer.hpp"

#include <exception>

namespace tratta {

void imposta_nomi(RunState& s, const std::filesystem::path& folder)
{
    s.scenario_name = scenario_constant;
    s.train_name = train_constant;
    s.folder = folder;
}

std::string describe_error(const RunState& s)
{
    const FileNames names = file_names(s);
    return describe_error(s, display_path(names.line_source.filename()),
                          display_path(names.train_source.filename()));
}

std::string describe_error(const RunState& s, const std::string& line_source,
                           const std::string& train_source)
{
    return describe_error(RecordedError{s.error_code, s.error_at_m, s.error_place}, line_source, train_source);
}

std::string describe_error(const RecordedError& e, const std::string& line_source,
                           const std::string& train_source)
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
    text.append(error_meaning(e.code));
    return text;
}

RunOutcome compile_outcome(RunState& s, int32_t j)
{
    try {
        memorizza_percorso(s, j);
    } catch (const ErrorBox& box) {
        return {1, box.box_text(), true};
    } catch (const FileFailure& failure) {
        return {1, failure.what(), false};
    } catch (const RunFailure& failure) {
        return {1, failure.what(), false};
    }
    if (s.error_code != 0)
        return {2, describe_error(s), false};
    return {};
}

RunOutcome esegui_scenario(RunState& s)
{
    try {
        dati_linea(s);
        dati_treno(s);
        dati_note(s);
        dati_rallentamenti(s);
        dati_scheda(s);
    } catch (const FileFailure& failure) {
        return {1, failure.what(), false};
    }
    return compile_outcome(s, 1);
}

int avvio()
{
    try {
        RunState state;
        imposta_nomi(state, platform::program_folder());
        platform::show_wait_window();
        const RunOutcome outcome = esegui_scenario(state);
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
