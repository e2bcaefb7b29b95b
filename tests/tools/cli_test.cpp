#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

TEST(Cli, EverySubcommandHasHelp)
{
    for (const char* sub : {"export", "compile", "dump", "plot"}) {
        SCOPED_TRACE(sub);
        const auto run = testing::run_tool({sub, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find(sub), std::string::npos) << run.out;
    }
    const auto top = testing::run_tool({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* sub : {"export", "compile", "dump", "plot"})
        EXPECT_NE(top.out.find(sub), std::string::npos) << top.out;
}

TEST(Cli, ABadArgumentEndsWithStatus1)
{
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"fly"},
        {"compile", "only-one.txt"},
        {"dump", "x.sim", "--step", "0"},
        {"dump", "x.sim", "--type", "exe"},
        {"plot", "dir"},
        {"export", "a", "b"},
    };
    for (const auto& args : rows) {
        SCOPED_TRACE(args.empty() ? "(nothing)" : args[0]);
        const auto run = testing::run_tool(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(run.err.empty());
    }
}

} // namespace
} // namespace autore
