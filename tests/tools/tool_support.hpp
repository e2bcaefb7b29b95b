#pragma once
// What the authoring tool's tests share: running the tool's command line with
// its output caught, and a small check that a document is well-formed XML.

#include "app/avvio.hpp"
#include "autore/cli.hpp"

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace autore::testing {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline ToolRun run_tool(const std::vector<std::string>& args)
{
    std::vector<const char*> argv{"autore"};
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.status = run_autore(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The embedded scenario compiled by the program's own run into a folder; its exit status.
inline int compile_embedded(const std::filesystem::path& folder)
{
    return tratta::esegui_scenario(folder).exit_status;
}

// Why the text is not well-formed XML (one root element, tags nested and
// closed, attributes quoted and not repeated, only known entities, no stray
// "<" or "&"), or nothing when it is.
std::optional<std::string> xml_problem(std::string_view text);

} // namespace autore::testing
