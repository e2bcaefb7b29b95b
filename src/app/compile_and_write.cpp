#include "app/compile_and_write.hpp"

#include "app/staged_line_table.hpp"

#include <optional>

namespace tratta {

WrittenCompile compile_and_write(const CompileAndWrite& rq)
{
    WrittenCompile out;
    std::optional<StagedFile> staged_line_table;
    CompileInput input = compile_input(rq.purpose, rq.line, rq.train, rq.scenario_name, rq.train_name, rq.line_table);
    if (rq.line_table)
        input.line_table_ready = stage_early(rq.files.line_table, staged_line_table);
    out.result = compile(input);
    if (rq.after_compile)
        rq.after_compile(out.result);
    if (out.result.makes_files())
        out.written = write_binary_set(out.result, rq.files, staged_line_table);
    return out;
}

} // namespace tratta
