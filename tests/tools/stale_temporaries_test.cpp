// Every command that writes cleans the folder it writes into of what its own
// killed earlier runs left there (temporary files of a process that no longer
// runs), and leaves every other file alone, however like them it is named.
#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "support/ended_process.hpp"
#include "support/temp_folder.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

using tratta::testing::ended_process;

TEST(StaleTemporaries, EveryCommandThatWritesRemovesThoseOfItsKilledEarlierRuns)
{
    TempFolder work;
    ASSERT_EQ(testing::run_tool({"export", (work / "sorgenti").string()}).status, 0);
    fs::create_directories(work / "binari");
    ASSERT_EQ(testing::compile_embedded(work / "binari"), 0);
    const auto src = tratta::file_names(work / "sorgenti", tratta::scenario_constant, tratta::train_constant);
    const std::string line = src.line_source.string();
    const std::string train = src.train_source.string();
    const std::string binaries = (work / "binari").string();
    const std::string dead = ended_process();
    const std::string alive = std::to_string(getppid());

    const struct {
        const char* command;
        std::vector<std::string> args; // writing into the folder "uscita"
        const char* written;           // a file the command writes there
    } rows[] = {
        {"compile", {"compile", line, train, "-o", "@"}, "Tratta_Esempio_TR 000 Esempio.sim"},
        {"plot", {"plot", binaries, "-o", "@/percorso.svg"}, "percorso.svg"},
        {"view", {"view", binaries, "-o", "@/percorso.html"}, "percorso.html"},
        {"export", {"export", "@", "--force"}, "Tratta_Esempio_TR 000 Esempio_note.txt"},
        {"documents", {"documents", line, train, "-o", "@"}, "Tratta_Esempio_TR 000 Esempio_scheda_treno.txt"},
        {"pack", {"pack", "--linux", "--runner", TRATTA_RUNNER_PATH, line, train, "-o", "@/programma"}, "programma"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        const fs::path out = work / (std::string("uscita-") + row.command);
        fs::create_directories(out);
        const std::string base = row.written;
        const std::string stale[] = {base + ".tratta-tmp-" + dead + "-0", "altro.svg.tratta-tmp-" + dead + "-3"};
        const std::string kept[] = {
            base + ".tratta-tmp-" + alive + "-0",      // a run still at work
            base + ".tratta-tmp-" + dead + "-0.copia", // an author's copy
            base + ".tratta-tmp-0" + dead + "-0",      // not the writer's spelling
            base + ".tmp",
        };
        for (const auto& name : stale)
            write_bytes(out / name, "left by a killed run");
        for (const auto& name : kept)
            write_bytes(out / name, "someone else's");

        std::vector<std::string> args = row.args;
        for (auto& a : args)
            if (a.starts_with("@"))
                a = out.string() + a.substr(1);
        const auto run = testing::run_tool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(fs::exists(out / base));
        for (const auto& name : stale)
            EXPECT_FALSE(fs::exists(out / name)) << name;
        for (const auto& name : kept)
            EXPECT_TRUE(fs::exists(out / name)) << name;
    }
}

} // namespace
} // namespace autore
