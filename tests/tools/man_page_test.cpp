// The manual page autore(1): made from the same declarations as the help, it
// lists every subcommand with its arguments and options, carries the version
// set once in CMakeLists.txt, and is well-formed roff that man shows without
// a warning.
#include "autore/command_line/command_line.hpp"
#include "autore/version.hpp"

#include "support/temp_folder.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

namespace autore {
namespace {

using tratta::testing::TempFolder;

std::string output_of(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        text += buffer;
    return text;
}

// Roff's hyphen and backslash as the page writes them.
std::string roff_words(std::string text)
{
    std::string out;
    for (char c : text)
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

TEST(ManPage, EverySubcommandArgumentAndOptionOfTheHelpIsOnThePage)
{
    const auto made = testing::run_tool({"man", "--data", "2026-12-11"});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string& page = made.out;
    EXPECT_EQ(page.rfind(".TH AUTORE 1 2026-12-11 \"autore " + std::string(tool_version) + "\"", 0), 0u) << page;

    // The subcommands and their words come from the help itself.
    const std::string help = testing::run_tool({"help"}).out;
    for (const char* name : {"export", "compile", "check", "dump", "plot", "view", "documents", "timetable", "pack",
                             "lsp", "help", "completion"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(help.find("\n  " + std::string(name) + " "), std::string::npos);
        EXPECT_NE(page.find(".SS \"autore " + std::string(name)), std::string::npos);
        // Each row of the subcommand's help, with its label, is on the page.
        const std::string own_help = testing::run_tool({"help", name}).out;
        std::istringstream lines(own_help.substr(own_help.find("\n\nArgomenti:") == std::string::npos
                                                     ? own_help.find("\n\nOpzioni:")
                                                     : own_help.find("\n\nArgomenti:")));
        std::string line;
        std::smatch label;
        while (std::getline(lines, line)) {
            if (std::regex_search(line, label, std::regex("^  (-[^ ]*( [^ ]+)*?|[A-Z_]+)(  |$)"))) {
                EXPECT_NE(page.find(".B " + roff_words(label[1].str()) + "\n"), std::string::npos) << label[1];
            }
        }
    }
    // The tool's own tooling stays out, as it stays out of the help.
    EXPECT_EQ(page.find("autore formats"), std::string::npos);
    EXPECT_EQ(page.find("autore man"), std::string::npos);
    EXPECT_NE(page.find(".SH \"STATO D'USCITA\"\n"), std::string::npos);
}

TEST(ManPage, TheVersionIsTheOneSetInCMakeLists)
{
    std::ifstream cmake(std::string(TRATTA_SOURCE_DIR) + "/CMakeLists.txt");
    std::stringstream text;
    text << cmake.rdbuf();
    std::smatch version;
    const std::string lists = text.str();
    ASSERT_TRUE(std::regex_search(lists, version, std::regex(R"(project\([^)]*VERSION ([0-9.]+))")));
    EXPECT_EQ(tool_version, version[1].str());
    EXPECT_EQ(testing::run_tool({"--version"}).out, "autore " + version[1].str() + "\n");
}

// Text that roff would take for a request or an escape stays text.
TEST(ManPage, TextThatLooksLikeRoffIsShownAsWritten)
{
    CommandLine line("prova", ".so /etc/passwd e \\fB grassetto", "1.0");
    std::string value;
    line.add("uno", "'br a capo\n.SH falso titolo", [] { return 0; }).option("--opzione", value, "X", "\\- e -");
    const std::string page = line.man_page("2026-12-11");
    std::istringstream lines(page);
    std::string l;
    while (std::getline(lines, l)) {
        if (!l.empty() && (l[0] == '.' || l[0] == '\'')) {
            EXPECT_TRUE(std::regex_search(l, std::regex(R"(^\.(TH|SH|SS|TP|B|I|br|PP)( |$))"))) << l;
        }
    }
    EXPECT_EQ(page.find("\n.SH falso"), std::string::npos);
    EXPECT_EQ(page.find("\n.so"), std::string::npos);
    EXPECT_NE(page.find("\\efB"), std::string::npos);

    // Where groff is installed: it shows the real page without a warning.
    if (std::system("groff -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no groff on this machine";
    TempFolder dir;
    tratta::testing::write_bytes(dir / "autore.1", testing::run_tool({"man"}).out);
    const std::string shown =
        output_of("groff -k -man -Tutf8 -ww -P-cbou \"" + (dir / "autore.1").string() + "\" 2>\"" + (dir / "w").string() + "\"");
    EXPECT_EQ(output_of("cat \"" + (dir / "w").string() + "\""), "");
    EXPECT_NE(shown.find("autore compile FILE_LINEA FILE_TRENO [OPZIONI]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("--no-line-table"), std::string::npos);
}

} // namespace
} // namespace autore
