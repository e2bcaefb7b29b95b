// The author's check of the embedded scenario, as an editor would run it on
// every keystroke: both sources compiled, traced and searched for warnings.
#include "autore/analysis/check.hpp"
#include "scenario/text_writer.hpp"

#include <benchmark/benchmark.h>

namespace {

void check_embedded(benchmark::State& state)
{
    const std::string line = tratta::encode_data_set(tratta::linea_data());
    const std::string train = tratta::encode_data_set(tratta::treno_data());
    for (auto _ : state) {
        const autore::CheckReport report = autore::check_scenario({line, train, "Tratta_Esempio", "TR 000 Esempio"});
        benchmark::DoNotOptimize(report.diagnostics.data());
    }
}

BENCHMARK(check_embedded)->Unit(benchmark::kMillisecond);

} // namespace
