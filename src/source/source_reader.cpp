#include "source/source_reader.hpp"

#include "app/file_names.hpp"
#include "app/files.hpp"
#include "source/keys.hpp"

namespace tratta {

FieldReader open_source(const std::filesystem::path& file)
{
    try {
        return FieldReader(read_file(file));
    } catch (const FileFailure& failure) {
        throw ReadFailure(failure.what());
    }
}

void read_key(RunState& s, FieldReader& in, SourceFile file)
{
    s.work_text = in.read_text();
    s.key_place = {file, in.field_line()};
}

bool read_key_before_end(RunState& s, FieldReader& in, SourceFile file)
{
    if (in.at_end())
        return false;
    read_key(s, in, file);
    return !in.at_end();
}

bool next_key(RunState& s, FieldReader& in, SourceFile file)
{
    constexpr int comment_limit = 2;
    if (!read_key_before_end(s, in, file))
        return false;
    for (int n = 0; n < comment_limit && is_comment(s.work_text); ++n) {
        read_key(s, in, file);
        if (in.at_end())
            return false;
    }
    return true;
}

void fallimento_lettura(RunState& s)
{
    const FileNames names = file_names(s);
    delete_file(names.line_source);
    delete_file(names.train_source);
    segnala(s, 25);
}

} // namespace tratta
