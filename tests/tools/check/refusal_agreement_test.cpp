// Whatever compile refuses to write, check reports first, as an error at the
// line that causes it: an author who runs check before compile learns of
// every scenario that would leave no file.
#include "tools/small_scenario.hpp"
#include "tools/tool_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace autore {
namespace {

namespace fs = std::filesystem;
using tratta::testing::TempFolder;

enum class In { line, train };

struct Refusal {
    const char* what;
    In file;                     // the file whose lines change
    std::string from;            // a line of the small scenario, or "" to add `to` before "[fine]"
    std::string to;
    int line;                    // where check must put its error
};

const std::string alfa = testing::small_train_lines()[7];
const std::string unnamed_alfa = alfa.substr(0, alfa.size() - 4);

const Refusal refusals[] = {
    {"a station name of 65,536 bytes", In::train, alfa, unnamed_alfa + std::string(65536, 'N'), 8},
    {"a board text of 66,000 bytes", In::line, "", "cartello_indicatore,  5000,   " + std::string(66000, 'K'), 6},
    {"no route length", In::line, "lunghezza percorso,    10000", "", 3},
    {"a route length beyond 1000 km", In::line, "lunghezza percorso,    10000", "lunghezza percorso,    1000050", 2},
    {"a signal in the cell the compile stamps", In::train, "", "segnale,    0,   2, 4, 1,  1, 0,    2,  2,1,1, 0", 11},
};

std::vector<std::string> edited(std::vector<std::string> lines, const Refusal& r)
{
    if (r.from.empty())
        lines.insert(lines.end() - 1, r.to);
    for (auto& l : lines)
        if (!r.from.empty() && l == r.from)
            l = r.to;
    return lines;
}

TEST(RefusalAgreement, EachRefusalOfCompileIsAnErrorOfCheckAtItsLine)
{
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        TempFolder dir;
        const fs::path line = dir / "Valle_linea.txt";
        const fs::path train = dir / "Valle_R 101-.txt";
        const auto line_lines = testing::small_line_lines();
        const auto train_lines = testing::small_train_lines();
        tratta::testing::write_bytes(line, tratta::testing::crlf_lines(r.file == In::line ? edited(line_lines, r) : line_lines));
        tratta::testing::write_bytes(train,
                                     tratta::testing::crlf_lines(r.file == In::train ? edited(train_lines, r) : train_lines));

        const auto compiled = testing::run_tool({"compile", line.string(), train.string(), "-o", (dir / "out").string()});
        ASSERT_EQ(compiled.status, 1) << compiled.err;
        EXPECT_NE(compiled.err.find("nessun file scritto"), std::string::npos) << compiled.err;

        const auto checked = testing::run_tool({"check", line.string(), train.string()});
        EXPECT_EQ(checked.status, 2) << checked.out;
        const std::string at = (r.file == In::line ? line : train).string() + ":" + std::to_string(r.line) + ":";
        const auto where = checked.out.find(at);
        ASSERT_NE(where, std::string::npos) << at << "\n" << checked.out.substr(0, 2000);
        const std::string first = checked.out.substr(where, checked.out.find('\n', where) - where);
        EXPECT_NE(first.find(": error ["), std::string::npos) << first.substr(0, 300);
    }
}

} // namespace
} // namespace autore
