// The bash completion script, run in a real bash the way bash runs it: the
// words typed so far in COMP_WORDS, the one being completed at COMP_CWORD.
#include "support/temp_folder.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace autore {
namespace {

using tratta::testing::TempFolder;

// The replies of the completion for the words, the last one being completed.
std::vector<std::string> completed(const std::filesystem::path& script, const std::vector<std::string>& words)
{
    std::string array;
    for (const auto& w : words)
        array += " '" + w + "'";
    const std::string command = "bash --norc --noprofile -c 'source \"$0\"; COMP_WORDS=(\"$@\"); "
                                "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _autore; "
                                "printf \"%s\\n\" \"${COMPREPLY[@]}\"' '" +
                                script.string() + "'" + array;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> replies;
    if (!pipe)
        return replies;
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        text += buffer;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty())
            replies.push_back(line);
    return replies;
}

TEST(Completion, BashCompletesSubcommandsOptionsChoicesAndFiles)
{
    if (std::system("bash -c true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no bash on this machine";
    TempFolder dir;
    const auto made = testing::run_tool({"completion", "bash"});
    ASSERT_EQ(made.status, 0) << made.err;
    tratta::testing::write_bytes(dir / "autore.bash", made.out);
    tratta::testing::write_bytes(dir / "Valle_R 101.sim", "");
    tratta::testing::write_bytes(dir / "Valle_R 101.dat", "");

    using Words = std::vector<std::string>;
    const struct {
        Words typed;
        Words replies;
    } rows[] = {
        {{"autore", "com"}, {"compile", "completion"}},
        {{"autore", "ti"}, {"timetable"}},
        {{"autore", "--v"}, {"--version"}},
        {{"autore", "help", "do"}, {"documents"}},
        {{"autore", "dump", "x.sim", "--ob"}, {"--objects"}},
        {{"autore", "compile", "a", "b", "--no"}, {"--no-line-table"}},
        {{"autore", "dump", "--type", ""}, {"sim", "dat", "linea"}},
        {{"autore", "check", "a", "b", "--format", "s"}, {"sarif"}},
        {{"autore", "completion", ""}, {"bash"}},
        {{"autore", "dump", "--step", ""}, {}},
        {{"autore", "dump", (dir / "Valle_R 101.s").string()}, {(dir / "Valle_R 101.sim").string()}},
        {{"autore", "plot", "out", "-o", (dir / "Valle_R 101.d").string()}, {(dir / "Valle_R 101.dat").string()}},
    };
    for (const auto& row : rows) {
        std::string trace;
        for (const auto& w : row.typed)
            trace += w + " ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(completed(dir / "autore.bash", row.typed), row.replies);
    }
    // Every subcommand the help lists, and only those, at the first word.
    const Words first = completed(dir / "autore.bash", {"autore", ""});
    EXPECT_EQ(first, (Words{"export", "compile", "check", "dump", "plot", "decompile", "diff", "view", "serve",
                            "documents", "timetable", "pack", "lsp", "help", "completion", "--help", "--version"}));
}

} // namespace
} // namespace autore
