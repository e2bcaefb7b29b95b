#include "fuzz_entry.hpp"
#include "fuzz_sources.hpp"

#include "app/avvio.hpp"
#include "compile/compile.hpp"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// What every compile must hold to, whatever its sources: the files made only
// when it ends with or without a data error, and then at the sizes their
// tables give; the error record equal to the last error listed.
void check(const tratta::CompileResult& r, bool keeps_line_table)
{
    using tratta::CompileOutcome;
    const bool made = r.makes_files();
    const auto fail = [](const char* what) {
        std::fprintf(stderr, "compile result: %s\n", what);
        std::abort();
    };
    if (made && (r.files.records.empty() || r.files.grid.empty() || r.files.grid.size() % 15 != 0))
        fail("files made with a wrong size");
    if (!made && (!r.files.records.empty() || !r.files.grid.empty() || !r.files.line_table.empty()))
        fail("files made by a compile that ends without them");
    if (made && r.files.line_table.empty() != !keeps_line_table)
        fail("a line table made though not kept, or kept but not made");
    if ((r.outcome == CompileOutcome::data_error) != (made && r.error_code != 0))
        fail("outcome and error record disagree");
    if (r.error_code != 0 && (r.errors.empty() || r.errors.back().code != r.error_code ||
                              r.errors.back().at_m != r.error_at_m))
        fail("the last error listed is not the error record");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // Every other input is compiled as the authoring tool's check compiles:
    // where each object came from and every field as read are kept, the
    // plan of the track is walked but not kept.
    const bool as_a_check = size % 2 == 1;
    const tratta::CompileInput in = compile_input_of(
        data, size, as_a_check ? tratta::CompilePurpose::check : tratta::CompilePurpose::program_files);
    // The error box and a compile with no route grid are ways a run is meant
    // to end; any exception escaping (a table read out of its bounds) is a crash.
    check(tratta::compile(in), in.keep_line_table);
    return 0;
}
