#include "autore/scenario_files/runner_places.hpp"

#include <algorithm>
#include <string>
#include <system_error>

namespace autore {

namespace fs = std::filesystem;

std::vector<fs::path> runner_folders(const fs::path& tool_folder)
{
    const fs::path tool = tool_folder.empty() ? fs::path(".") : tool_folder;
    std::vector<fs::path> folders;
    for (const fs::path& candidate : {tool, tool / ".." / "lib" / "tratta", tool / ".." / "src",
                                      tool / ".." / ".." / "build-win" / "src", tool / ".." / ".." / "build" / "src"}) {
        fs::path folder = candidate.lexically_normal();
        // "/usr/bin/.." written as "/usr/", and "a/b/" as "a/b": one spelling per folder.
        if (folder.has_filename() == false && folder.has_relative_path())
            folder = folder.parent_path();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    return folders;
}

RunnerSearch find_runner(std::string_view file_name, const fs::path& tool_folder)
{
    RunnerSearch search;
    const fs::path name{std::string(file_name)};
    for (const fs::path& folder : runner_folders(tool_folder)) {
        search.looked_in.push_back(folder);
        std::error_code ec;
        if (fs::is_regular_file(folder / name, ec)) {
            search.found = folder / name;
            break;
        }
    }
    return search;
}

} // namespace autore
