#include "autore/scenario_files/file_name_rules.hpp"

#include "app/file_names.hpp"

#include <gtest/gtest.h>

namespace autore {
namespace {

TEST(FileNameRules, NamesThatCannotStandInAFileNameAreRefused)
{
    const struct {
        std::string name;
        bool accepted;
    } rows[] = {
        {"Tratta_Esempio", true},
        {"TR 000 Esempio", true},
        {"Città del Nord", true},   // à is in Windows-1252
        {" leading blank", true},
        {"", false},
        {"a/b", false},
        {"a\\b", false},
        {"C:", false},
        {"star*", false},
        {"what?", false},
        {"say \"hi\"", false},
        {"<tag>", false},
        {"pipe|line", false},
        {"tab\there", false},
        {std::string("nul\0byte", 8), false},
        {"del\x7F", false},
        {"dot.", false},
        {"blank ", false},
        {"Łódź", false}, // Ł is not in Windows-1252
        {"broken \xC3", false},
        {"..", false},
        {"CON", false},   // Windows's devices, whatever follows a dot
        {"nul.valle", false},
        {"Lpt9", false},
        {"CONSOLE", true},
        {"COM10", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto problem = name_problem(row.name);
        EXPECT_EQ(!problem.has_value(), row.accepted) << problem.value_or("");
    }
}

TEST(FileNameRules, ThePairNamesTheFaultyOneAndBoundsTheLongestFileName)
{
    EXPECT_FALSE(names_problem("Tratta_Esempio", "TR 000 Esempio"));
    EXPECT_NE(names_problem("Trat/ta", "T").value_or("").find("scenario"), std::string::npos);
    EXPECT_NE(names_problem("S", "T|1").value_or("").find("treno"), std::string::npos);
    // The longest file, "S_T_rallentamenti.txt", with the 33 characters of its
    // temporary name, must fit in 255 bytes: S and T together take at most 203.
    EXPECT_FALSE(names_problem(std::string(100, 's'), std::string(103, 't')));
    const auto too_long = names_problem(std::string(100, 's'), std::string(104, 't')).value_or("");
    EXPECT_NE(too_long.find("lunghi"), std::string::npos) << too_long;
    EXPECT_NE(too_long.find("_rallentamenti.txt"), std::string::npos) << too_long;
    EXPECT_TRUE(names_problem(std::string(235, 's'), "T")) << "the line table's temporary name would not fit";
}

// A name is shown with its control bytes spelt out: an escape sequence in a
// name never reaches the terminal, a NUL never cuts a message short.
TEST(FileNameRules, ControlBytesOfANameAreShownSpeltOut)
{
    const auto problem = name_problem("Valle\x1B[2J").value_or("");
    EXPECT_NE(problem.find("Valle\\x1B[2J"), std::string::npos) << problem;
    EXPECT_EQ(problem.find('\x1B'), std::string::npos);
    EXPECT_EQ(tratta::without_control_bytes(std::string("a\0b\x7F\r", 5)), "a\\x00b\\x7F\\x0D");
}

} // namespace
} // namespace autore
