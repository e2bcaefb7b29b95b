#include "app/staged_line_table.hpp"

namespace tratta {

LineTableReady stage_early(const std::filesystem::path& file, std::optional<StagedFile>& staged)
{
    return [&file, &staged](Bytes& table) {
        try {
            staged.emplace(file, as_text(table));
            return true;
        } catch (const FileFailure&) {
            staged.reset();
            return false;
        }
    };
}

} // namespace tratta
