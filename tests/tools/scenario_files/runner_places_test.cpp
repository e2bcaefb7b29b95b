// Where pack finds its runner: in each layout the tool is shipped or built
// in, the runner that layout puts there; in none, every folder looked in.
#include "autore/scenario_files/runner_places.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

TEST(RunnerPlaces, EachLayoutFindsItsRunner)
{
    const struct {
        const char* layout;
        const char* tool;   // the tool's folder, under the root
        const char* runner; // where the layout puts the runner
    } rows[] = {
        {"the Windows zip: the runner beside autore.exe", "autore-1.1.0", "autore-1.1.0/tratta_runner.exe"},
        {"the Debian package", "usr/bin", "usr/lib/tratta/tratta_runner.exe"},
        {"the Linux archive, in a folder with blanks", "autore 1.1.0 è/bin", "autore 1.1.0 è/lib/tratta/tratta_runner.exe"},
        {"the Linux build tree", "build/tools", "build/src/tratta_runner.exe"},
        {"the mingw tree beside the Linux one", "build/tools", "build-win/src/tratta_runner.exe"},
        {"the Linux tree beside the mingw one", "build-win/tools", "build/src/tratta_runner.exe"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.layout);
        TempFolder root;
        fs::create_directories(root / fs::path(reinterpret_cast<const char8_t*>(row.tool)));
        const fs::path runner = root / fs::path(reinterpret_cast<const char8_t*>(row.runner));
        fs::create_directories(runner.parent_path());
        write_bytes(runner, "MZ");
        const RunnerSearch search =
            find_runner("tratta_runner.exe", root / fs::path(reinterpret_cast<const char8_t*>(row.tool)));
        ASSERT_TRUE(search.found.has_value());
        EXPECT_TRUE(fs::equivalent(*search.found, runner)) << search.found->string();
        EXPECT_FALSE(find_runner("tratta_runner", root / fs::path(reinterpret_cast<const char8_t*>(row.tool))).found);
    }
}

TEST(RunnerPlaces, TheToolsOwnFolderComesFirstAndEachFolderIsLookedInOnce)
{
    TempFolder root;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "lib" / "tratta");
    write_bytes(root / "bin" / "tratta_runner", "\x7f" "ELF");
    write_bytes(root / "lib" / "tratta" / "tratta_runner", "\x7f" "ELF");
    EXPECT_EQ(find_runner("tratta_runner", root / "bin").found, root / "bin" / "tratta_runner");

    const std::vector<fs::path> usr{"/usr/bin", "/usr/lib/tratta", "/usr/src", "/build-win/src", "/build/src"};
    EXPECT_EQ(runner_folders("/usr/bin"), usr);
    EXPECT_EQ(runner_folders("/usr/bin/"), usr);
    EXPECT_EQ(runner_folders("/usr/./bin"), usr);
    const std::vector<fs::path> build{"build/tools", "build/lib/tratta", "build/src", "build-win/src"};
    EXPECT_EQ(runner_folders("build/tools"), build);
}

TEST(RunnerPlaces, NoRunnerAnywhereNamesEveryFolderLookedIn)
{
    TempFolder root;
    fs::create_directories(root / "autore folder" / "bin");
    const fs::path tool = root / "autore folder" / "bin";
    const RunnerSearch search = find_runner("tratta_runner.exe", tool);
    EXPECT_FALSE(search.found);
    EXPECT_EQ(search.looked_in, runner_folders(tool));

}

} // namespace
} // namespace autore
