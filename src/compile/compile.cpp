#include "compile/compile.hpp"

#include "model/error_box.hpp"

#include <stdexcept>
#include <string_view>
#include <utility>

namespace tratta {

CompileResult compile(const CompileInput& input)
{
    CompileResult result;
    RunState& s = result.model;
    s.scenario_name = input.scenario_name;
    s.train_name = input.train_name;
    s.sources.line = input.line;
    s.sources.train = input.train;
    s.note_origins = input.note_origins;
    s.keep_line_table = input.keep_line_table;
    if (input.trace_fields)
        s.trace = &result.trace;

    try {
        memorizza_percorso(s, input.line_table ? 1 : 0, result.files, input.line_table_ready);
        result.outcome = s.error_code != 0 ? CompileOutcome::data_error : CompileOutcome::clean;
    } catch (const ErrorBox& box) {
        result.outcome = CompileOutcome::error_box;
        result.box_number = box.number();
        result.files = {};
    } catch (const RunFailure& failure) {
        result.outcome = CompileOutcome::failure;
        result.failure = failure.what();
        result.files = {};
    } catch (const std::length_error& too_long) {
        // A text longer than its 16-bit length field: no file can hold the record.
        result.outcome = CompileOutcome::failure;
        result.failure = too_long.what();
        result.files = {};
    }
    s.trace = nullptr; // the trace stays with the result, which may move
    result.error_code = s.error_code;
    result.error_at_m = s.error_at_m;
    result.errors = s.errors;
    result.line_source_deleted = s.sources.line_deleted;
    result.train_source_deleted = s.sources.train_deleted;
    return result;
}

} // namespace tratta
