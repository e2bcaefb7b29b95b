#include "fuzz_entry.hpp"
#include "fuzz_sources.hpp"

#include "autore/decompile/round_trip.hpp"
#include "compile/compile.hpp"
#include "model/file_decoders.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

// How many inputs compiled without error, and so went round: told at the
// end, the figure of the round trip's share of the corpus.
struct Tally {
    std::size_t inputs = 0;
    std::size_t clean = 0;
    ~Tally() { std::fprintf(stderr, "round trip: %zu of %zu inputs compile without error, each exact\n", clean, inputs); }
} tally;

} // namespace

// Any pair of sources that compiles without error, compiled, written back as
// sources and compiled again, gives the same three files to the byte. The
// input is split as for the compile target: the line file up to the first
// 0x00, the train file after it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const tratta::CompileResult first =
        tratta::compile(compile_input_of(data, size, tratta::CompilePurpose::files_in_memory));
    ++tally.inputs;
    if (first.outcome != tratta::CompileOutcome::clean)
        return 0;
    ++tally.clean;
    const auto text = [](const tratta::Bytes& b) { return std::string(b.begin(), b.end()); };
    autore::GivenFiles given{text(first.files.records), text(first.files.grid), text(first.files.line_table)};
    autore::LoadedScenario scenario;
    scenario.records = tratta::decode_scenario_records(given.records);
    scenario.cells = tratta::decode_route_cells(given.grid);
    scenario.line_table = tratta::decode_line_profile(given.line_table);
    const autore::RoundTrip trip = autore::round_trip(scenario, given);
    if (trip.differences.empty())
        return 0;
    for (const auto& d : trip.differences)
        std::fprintf(stderr, "round trip: %s\n", d.c_str());
    std::abort();
}
