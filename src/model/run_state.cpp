#include "model/run_state.hpp"

#include "model/error_meanings.hpp"

namespace tratta {

std::string_view DataError::meaning() const { return error_meaning(code); }

std::optional<DataError> RunState::last_error() const
{
    if (error_code == 0 || errors.empty())
        return std::nullopt;
    return errors.back();
}

void segnala(RunState& s, ErrorNumber code, std::optional<int32_t> at_m, const SourcePlace& place, std::string cause,
             int64_t cell)
{
    s.error_code = number_of(code);
    if (at_m)
        s.error_at_m = *at_m;
    s.errors.push_back({s.error_code, s.error_at_m, place, std::move(cause), cell});
}

void drop_source(RunState& s, SourceFile file)
{
    if (file == SourceFile::line && s.sources.line.exists())
        s.sources.line_deleted = true;
    if (file == SourceFile::train && s.sources.train.exists())
        s.sources.train_deleted = true;
}

void note_cell_origin(RunState& s, int64_t cell)
{
    if (cell >= 0 && static_cast<std::size_t>(cell) < s.cell_origins.size())
        s.cell_origins[static_cast<std::size_t>(cell)] = s.key_place;
}

} // namespace tratta
