#include "autore/route/compiled_model.hpp"

#include "app/files.hpp"
#include "app/source_files.hpp"
#include "autore/analysis/check.hpp"
#include "autore/route/route_data.hpp"
#include "app/compile_purpose.hpp"
#include "model/code_page.hpp"

namespace autore {

CompiledModel compile_model(const ScenarioSources& sources)
{
    CompiledModel model;
    // The author's files are only read.
    const auto in_memory = [](std::string_view bytes) {
        return tratta::LoadedSource{tratta::SourceText::State::present, std::string(bytes), {}};
    };
    const tratta::LoadedSource line =
        sources.line_bytes ? in_memory(*sources.line_bytes) : tratta::load_source(sources.line_file);
    const tratta::LoadedSource train =
        sources.train_bytes ? in_memory(*sources.train_bytes) : tratta::load_source(sources.train_file);
    for (const auto& [file, source] : {std::pair{&sources.line_file, &line}, std::pair{&sources.train_file, &train}}) {
        if (source->state == tratta::SourceText::State::present)
            continue;
        model.problems.push_back(source->state == tratta::SourceText::State::missing
                                     ? "il file \"" + tratta::display_path(*file) + "\" non esiste"
                                     : source->cause);
        return model;
    }
    return model_of(tratta::compile(tratta::compile_input(tratta::CompilePurpose::tables, line.text(), train.text(),
                                                          tratta::utf8_to_cp1252(sources.scenario),
                                                          tratta::utf8_to_cp1252(sources.train))),
                    train.bytes);
}

CompiledModel model_of(const tratta::CompileResult& result, std::string train_bytes)
{
    CompiledModel model;
    model.train_bytes = std::move(train_bytes);
    model.diagnostics = error_diagnostics(result);
    if (!result.makes_files())
        return model;
    model.data_errors = result.outcome == tratta::CompileOutcome::data_error;
    model.records = result.model.records;
    model.cells = result.model.cells.cells();
    model.station_count = static_cast<int>(station_records(model.records, model.cells).size());
    model.compiled = true;
    return model;
}

} // namespace autore
