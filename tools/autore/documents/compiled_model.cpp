#include "autore/documents/compiled_model.hpp"

#include "app/errore.hpp"
#include "app/file_names.hpp"
#include "app/files.hpp"
#include "app/memorizza_percorso.hpp"
#include "app/run_state.hpp"
#include "autore/compile_sources.hpp"
#include "autore/private_folder.hpp"
#include "autore/route_data.hpp"
#include "model/code_page.hpp"
#include "model/error_meanings.hpp"

#include <exception>

namespace autore {

CompiledModel compile_model(const ScenarioSources& sources)
{
    CompiledModel model;
    const auto fail = [&model](std::string problem) {
        model.problems.push_back(std::move(problem));
        return model;
    };
    const std::string line_label = tratta::display_path(sources.line_file);
    const std::string train_label = tratta::display_path(sources.train_file);
    try {
        const std::string line_bytes = tratta::read_file(sources.line_file);
        model.train_bytes = tratta::read_file(sources.train_file);

        // The compile step deletes its sources: it runs on copies.
        PrivateFolder work;
        tratta::RunState state;
        state.folder = work.path();
        state.scenario_name = tratta::utf8_to_cp1252(sources.scenario);
        state.train_name = tratta::utf8_to_cp1252(sources.train);
        const tratta::FileNames inside = tratta::file_names(state);
        tratta::write_file_emptied(inside.line_source, line_bytes);
        tratta::write_file_emptied(inside.train_source, model.train_bytes);

        int32_t j = 0;
        try {
            tratta::memorizza_percorso(state, j);
        } catch (const tratta::ErrorBox& box) {
            model.problems = recorded_errors(state, line_label, train_label);
            return fail("errore " + box.number() + ": " + std::string(tratta::error_meaning(std::stoi(box.number()))));
        } catch (const tratta::RunFailure& failure) {
            model.problems = recorded_errors(state, line_label, train_label);
            return fail(failure.what());
        }
        model.problems = recorded_errors(state, line_label, train_label);
        model.data_errors = state.error_code != 0;
        model.records = state.records;
        model.cells = state.cells.cells();
        model.station_count = static_cast<int>(station_records(model.records, model.cells).size());
        model.compiled = true;
    } catch (const tratta::FileFailure& failure) {
        return fail(failure.what());
    } catch (const std::exception& e) {
        return fail(std::string("errore interno: ") + e.what());
    }
    return model;
}

} // namespace autore
