#include "app/compile_purpose.hpp"

#include <utility>

namespace tratta {

CompileInput compile_input(CompilePurpose purpose, SourceText line, SourceText train, std::string scenario_name,
                           std::string train_name, bool line_table)
{
    CompileInput input{line, train, std::move(scenario_name), std::move(train_name), line_table};
    switch (purpose) {
    case CompilePurpose::program_files:
    case CompilePurpose::files_in_memory: break;
    case CompilePurpose::author_files:
        input.note_origins = line_table;
        input.trace_fields = line_table;
        break;
    case CompilePurpose::check:
    case CompilePurpose::check_and_draw:
        input.note_origins = true;
        input.trace_fields = true;
        input.keep_line_table = purpose == CompilePurpose::check_and_draw;
        break;
    case CompilePurpose::tables:
        input.note_origins = true;
        input.keep_line_table = false;
        break;
    }
    return input;
}

} // namespace tratta
