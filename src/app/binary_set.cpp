#include "app/binary_set.hpp"

#include "model/byte_buffer.hpp"

namespace tratta {

std::vector<std::filesystem::path> write_binary_set(const CompileResult& result, const BinaryNames& names,
                                                    std::optional<StagedFile>& staged_line_table)
{
    const bool with_line_table = staged_line_table || !result.files.line_table.empty();
    std::vector<StagedFile> staged;
    staged.reserve(3);
    try {
        if (staged_line_table)
            staged.push_back(std::move(*staged_line_table));
        else if (with_line_table)
            staged.emplace_back(names.line_table, as_text(result.files.line_table));
        staged.emplace_back(names.records, as_text(result.files.records));
        staged.emplace_back(names.grid, as_text(result.files.grid));
    } catch (const FileFailure& failure) {
        // The files staged so far are dropped with `staged`: no name changed.
        throw failure.adding(set_unchanged(with_line_table ? 3 : 2));
    }
    replace_together(staged);
    std::vector<std::filesystem::path> written;
    for (const auto& file : staged)
        written.push_back(file.file());
    return written;
}

} // namespace tratta
