#include "autore/decompile/round_trip.hpp"

#include "app/compile_purpose.hpp"

namespace autore {

RoundTrip round_trip(const LoadedScenario& scenario, const GivenFiles& given)
{
    using tratta::ScenarioRecords;
    RoundTrip trip;
    trip.sources = rebuild_sources(scenario);
    const tratta::CompileResult result = tratta::compile(tratta::compile_input(
        tratta::CompilePurpose::files_in_memory, tratta::SourceText::of(trip.sources.line),
        tratta::SourceText::of(trip.sources.train), scenario.records[ScenarioRecords::scenario_header].text,
        scenario.records[ScenarioRecords::run_header].text, scenario.line_table.has_value()));
    auto& out = trip.differences;
    if (!scenario.line_table)
        out.push_back("manca il file _linea.dat: la pianta non si conosce, e i sorgenti non hanno curve");
    if (!result.makes_files()) {
        out.push_back("i sorgenti riscritti non si compilano: " +
                      (result.failure.empty() ? "errore " + std::to_string(result.box_number) : result.failure));
        return trip;
    }
    if (const auto* e = result.last_error())
        out.push_back("la compilazione dei sorgenti riscritti registra l'errore " + std::to_string(e->code) + " a " +
                      std::to_string(e->at_m) + " m");
    for (auto& d : file_differences(given, result.files))
        out.push_back(std::move(d));
    return trip;
}

} // namespace autore
