// Paths that cannot be what the command line needs: a folder where a file
// goes, a path that does not exist, something that is not a plain file, a
// name that matches nothing. Each gets one line naming the path and what is
// wrong with it, status 1, and nothing is written.
#include "tools/documents/valle_scenario.hpp"
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;

// Every file under the folder, so that a refused run can be seen to leave it as it was.
std::set<fs::path> files_under(const fs::path& dir)
{
    std::set<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        files.insert(e.path());
    return files;
}

struct Fixture {
    TempFolder dir;
    testing::ValleFiles sources = testing::write_valle(dir.path());
    fs::path folder_source = dir / "D_linea.txt"; // a folder with a source file's name
    fs::path fifo_source = dir / "F_linea.txt";
    fs::path missing = dir / "nonesiste_linea.txt";
    fs::path two = dir / "two"; // two trains of one scenario, compiled
    Fixture()
    {
        fs::create_directory(folder_source);
        mkfifo(fifo_source.c_str(), 0600);
        for (const char* train : {"R 101", "R 103"})
            EXPECT_EQ(testing::run_tool({"compile", sources.line_file.string(), sources.train_file.string(),
                                         "--train", train, "-o", two.string()})
                          .status,
                      0);
    }
};

TEST(Refusals, EachPathIsNamedWithWhatIsWrongAndNothingIsWritten)
{
    Fixture f;
    const std::string line = f.sources.line_file.string();
    const std::string train = f.sources.train_file.string();
    const std::string out = (f.dir / "out").string();
    const std::string svg = (f.dir / "x.svg").string();
    const std::string folder = f.folder_source.string();
    const std::string fifo = f.fifo_source.string();
    const std::string missing = f.missing.string();
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> words;
    } rows[] = {
        {{"compile", folder, train, "--train", "X", "-o", out}, {"«" + folder + "» è una cartella, non un file"}},
        {{"compile", missing, train, "-o", out}, {"«" + missing + "» non esiste"}},
        {{"compile", fifo, train, "-o", out}, {"«" + fifo + "» non è un file normale"}},
        {{"compile", line, folder, "-o", out}, {"«" + folder + "» è una cartella"}},
        {{"compile", line, (f.dir / "Valle_linea.txt" / "x-.txt").string(), "-o", out},
         {"non esiste: una parte del percorso è un file"}},
        {{"check", folder, train}, {"«" + folder + "» è una cartella"}},
        {{"check", line, missing}, {"«" + missing + "» non esiste"}},
        {{"documents", folder, train, "-o", out}, {"«" + folder + "» è una cartella"}},
        {{"documents", line, missing, "-o", out}, {"«" + missing + "» non esiste"}},
        {{"timetable", fifo, train}, {"«" + fifo + "» non è un file normale"}},
        {{"dump", folder, "--type", "sim"}, {"«" + folder + "» è una cartella"}},
        {{"dump", (f.dir / "nonesiste.sim").string()}, {"nonesiste.sim» non esiste"}},
        {{"dump", fifo, "--type", "dat"}, {"non è un file normale"}},
        {{"plot", (f.dir / "nonexist").string(), "-o", svg}, {"nonexist» non esiste"}},
        {{"plot", (f.two / "Valle_R 101.sim").string(), missing, "-o", svg}, {"«" + missing + "» non esiste"}},
        {{"plot", f.two.string(), "-o", svg}, {"più di uno scenario compilato in «" + f.two.string() + "»",
                                                "«Valle_R 101» e «Valle_R 103»", "scegliere con --train"}},
        {{"plot", f.two.string(), "--train", "R 102", "-o", svg},
         {"nessun treno «R 102» in «" + f.two.string() + "»: ci sono «R 101» e «R 103»"}},
        {{"plot", f.two.string(), "--scenario", "Monte", "-o", svg}, {"nessuno scenario «Monte»", "ci sono «Valle»"}},
        {{"plot", f.two.string(), "--scenario", "Valle", "--train", "R 1", "-o", svg},
         {"nessun treno «R 1»", "per lo scenario «Valle»"}},
        {{"view", f.two.string(), "--train", "R 101", "--sources", folder, train, "-o", (f.dir / "x.html").string()},
         {"«" + folder + "» è una cartella"}},
    };
    for (const auto& row : rows) {
        std::string trace;
        for (const auto& a : row.args)
            trace += a + " ";
        SCOPED_TRACE(trace);
        const auto before = files_under(f.dir.path());
        const auto run = testing::run_tool(row.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.starts_with("autore: ")) << run.err;
        for (const auto& w : row.words)
            EXPECT_NE(run.err.find(w), std::string::npos) << w << "\n" << run.err;
        EXPECT_EQ(files_under(f.dir.path()), before);
    }
}

TEST(Refusals, TheTrainAloneChoosesInAFolder)
{
    Fixture f;
    const auto svg = f.dir / "x.svg";
    const auto run = testing::run_tool({"plot", f.two.string(), "--train", "R 103", "-o", svg.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(tratta::testing::read_bytes(svg).find("R 103"), std::string::npos);
}

TEST(Refusals, AnUnreadableSourceIsNamed)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads a file whatever its permissions: this case holds for other users only";
    TempFolder dir;
    const auto sources = testing::write_valle(dir.path());
    fs::permissions(sources.train_file, fs::perms::none);
    const auto run = testing::run_tool({"compile", sources.line_file.string(), sources.train_file.string(), "-o",
                                        (dir / "out").string()});
    fs::permissions(sources.train_file, fs::perms::owner_all);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("«" + sources.train_file.string() + "» non si può leggere: permesso negato"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(dir / "out"));
}

} // namespace
} // namespace autore
