// `autore decompile` in memory, the files already read: the three binary
// files decoded, the sources written back, compiled and compared to the byte.
// Once for the embedded scenario, once for the longest route, curved end to end.
#include "autore/decompile/round_trip.hpp"
#include "bench_scenarios.hpp"
#include "app/compile_purpose.hpp"
#include "model/file_decoders.hpp"
#include "scenario/text_writer.hpp"
#include "support/temp_folder.hpp"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::string text_of(const tratta::Bytes& b) { return std::string(b.begin(), b.end()); }

autore::GivenFiles compiled(const std::string& line, const std::string& train)
{
    const auto result = tratta::compile(tratta::compile_input(tratta::CompilePurpose::files_in_memory,
                                                              tratta::SourceText::of(line),
                                                              tratta::SourceText::of(train), "Tratta_Esempio",
                                                              "TR 000 Esempio"));
    if (result.outcome != tratta::CompileOutcome::clean)
        throw std::runtime_error("the scenario of the benchmark does not compile cleanly");
    return {text_of(result.files.records), text_of(result.files.grid), text_of(result.files.line_table)};
}

void decompile(benchmark::State& state, const autore::GivenFiles& files)
{
    for (auto _ : state) {
        autore::LoadedScenario scenario;
        scenario.records = tratta::decode_scenario_records(files.records);
        scenario.cells = tratta::decode_route_cells(files.grid);
        scenario.line_table = tratta::decode_line_profile(files.line_table);
        const autore::RoundTrip trip = autore::round_trip(scenario, files);
        if (!trip.differences.empty())
            state.SkipWithError("the round trip is not exact");
        benchmark::DoNotOptimize(trip.sources.line.data());
    }
}

void decompile_embedded(benchmark::State& state)
{
    static const auto files =
        compiled(tratta::encode_data_set(tratta::linea_data()), tratta::encode_data_set(tratta::treno_data()));
    decompile(state, files);
}

std::string read_all(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void decompile_longest_route(benchmark::State& state)
{
    static const auto files = [] {
        tratta::testing::TempFolder scratch;
        tratta::bench::write_maximal_route_sources(scratch.path());
        return compiled(read_all(scratch / "Tratta_Esempio_linea.txt"),
                        read_all(scratch / "Tratta_Esempio_TR 000 Esempio-.txt"));
    }();
    decompile(state, files);
}

BENCHMARK(decompile_embedded)->Unit(benchmark::kMillisecond);
BENCHMARK(decompile_longest_route)->Unit(benchmark::kMillisecond);

} // namespace
