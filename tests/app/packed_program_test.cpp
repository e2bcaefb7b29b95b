// A packed program stays in its own folder: a scenario or train name in its
// payload that would lead a file out of it, or name a device, gets the error
// box, and nothing is written anywhere.
#include "app/payload.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include <sys/wait.h>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

// Every file and folder under the sandbox, by its path inside it.
std::set<std::string> everything_under(const fs::path& sandbox)
{
    std::set<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(sandbox))
        found.insert(fs::relative(entry.path(), sandbox).string());
    return found;
}

struct Ran {
    int status;
    std::string messages;
};

// The runner with the texts appended, run from another folder.
Ran run_packed(const fs::path& room, const ScenarioTexts& texts)
{
    const auto program = room / "programma";
    write_bytes(program, read_bytes(TRATTA_RUNNER_PATH) + encode_payload(texts));
    fs::permissions(program, fs::perms::owner_all);
    const std::string command = "cd / && \"" + program.string() + "\" 2>&1";
    FILE* out = popen(command.c_str(), "r");
    Ran ran{-1, {}};
    char buffer[512];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;)
        ran.messages.append(buffer, n);
    ran.status = WEXITSTATUS(pclose(out));
    return ran;
}

ScenarioTexts named(std::string scenario, std::string train)
{
    return {std::move(scenario), std::move(train), "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n",
            "[generale]\r\n[fine]\r\n", "note\r\n", "rallentamenti\r\n", "scheda\r\n"};
}

TEST(PackedProgram, NamesThatLeaveItsFolderWriteNothingAnywhere)
{
    TempFolder sandbox;
    const auto room = sandbox / "stanza";
    const auto victim = sandbox / "vittima";
    const struct {
        const char* what;
        ScenarioTexts texts;
    } rows[] = {
        {"an absolute path", named((victim / "Valle").string(), "R 101")},
        {"the parent folder", named("../fuori", "R 101")},
        {"the parent folder, Windows's way", named("..\\fuori", "R 101")},
        {"a separator in the train", named("Valle", "../../R 101")},
        {"a drive", named("C:Valle", "R 101")},
        {"a device", named("CON", "R 101")},
        {"a device before a dot", named("nul.valle", "R 101")},
        {"a dot alone", named(".", "R 101")},
        {"two dots alone", named("..", "R 101")},
        {"an escape sequence", named("Valle\x1B[2J", "R 101")},
        {"a NUL", named(std::string("Valle\0/../../x", 14), "R 101")},
        {"a name too long for the folder", named(std::string(240, 'v'), "R 101")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::create_directories(room);
        fs::create_directories(victim);
        const auto before = everything_under(sandbox.path());
        const Ran ran = run_packed(room, row.texts);
        EXPECT_EQ(ran.status, 1) << ran.messages;
        EXPECT_NE(ran.messages.find("nomi che non possono stare nella sua cartella"), std::string::npos)
            << ran.messages;
        // The whole message, with the name's control bytes spelt out.
        EXPECT_EQ(ran.messages.find('\x1B'), std::string::npos);
        EXPECT_EQ(ran.messages.find('\0'), std::string::npos);
        auto after = everything_under(sandbox.path());
        after.erase("stanza/programma");
        EXPECT_EQ(after, before);
        fs::remove_all(room);
    }
    // The same texts under a plain name are written, all beside the program.
    fs::create_directories(room);
    const Ran ran = run_packed(room, named("Valle", "R 101"));
    EXPECT_NE(ran.status, 1) << ran.messages;
    EXPECT_TRUE(fs::exists(room / "Valle_R 101.sim"));
    EXPECT_TRUE(fs::is_empty(victim));
}

} // namespace
} // namespace tratta
