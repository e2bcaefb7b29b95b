#include "app/source_files.hpp"

#include "app/files.hpp"


namespace tratta {

LoadedSource load_source(const std::filesystem::path& file)
{
    LoadedSource source;
    if (!file_exists(file))
        return source;
    try {
        source.bytes = read_file(file);
        source.state = SourceText::State::present;
    } catch (const FileFailure& failure) {
        source.state = SourceText::State::unreadable;
        source.cause = failure.what();
    }
    return source;
}

} // namespace tratta
