// One fault, one place: the compile, the check and the language server count
// lines and columns alike, whatever line ends and quotes come before the
// fault (LF, CR LF, a lone CR, a quote around a comma, a quote left open, a
// NUL byte, a last line with no line end).
#include "autore/analysis/check.hpp"
#include "autore/lsp/server.hpp"
#include "compile/compile.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autore::lsp {
namespace {

using nlohmann::json;

const std::string line_uri = "file:///scen/Valle_linea.txt";

// The fault: a second speed indicator board on the cell of the first (error 21).
constexpr std::string_view first_board = "indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0";

struct Case {
    const char* what;
    std::string before; // lines between the first board and the fault, with their line ends
    std::string fault;  // the faulty line, without its line end
    std::string after;  // what follows it
    int32_t line;       // where the fault stands: line and column from 1
    int32_t column;
};

const std::string second_board = "indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0";

const Case cases[] = {
    {"CR LF", "pendenza,  3000,  1\r\n", second_board, "\r\n[fine]\r\n", 8, 1},
    {"LF", "pendenza,  3000,  1\npendenza,  4000,  1\n", second_board, "\r\n[fine]\r\n", 9, 1},
    {"a lone CR", "pendenza,  3000,  1\rpendenza,  4000,  1\r", second_board, "\r\n[fine]\r\n", 9, 1},
    {"LF CR is two line ends", "pendenza,  3000,  1\n\r", second_board, "\r\n[fine]\r\n", 9, 1},
    {"a quote around a comma", "cartello_indicatore,  3000,  \"Km 3,000\"\r\n", second_board, "\r\n[fine]\r\n", 8, 1},
    {"a quote left open", "cartello_indicatore,  3000,  \"Km 3,000\r\n", second_board, "\r\n[fine]\r\n", 8, 1},
    {"a quoted key holding a comma", "", "\"indicatori_vmax, 2\",  510,  85,  90,  95,  0,  ,  ,  ,  0", "\r\n[fine]\r\n", 7, 1},
    {"a NUL byte", std::string("pendenza,  3000,  1\0\r\n", 22), second_board, "\r\n[fine]\r\n", 8, 1},
    {"blanks before the key", "\r\n", "   " + second_board, "\r\n[fine]\r\n", 8, 4},
    {"the last line with no line end", "\r\n", second_board, "", 8, 1},
};

std::string line_source(const Case& c)
{
    std::string text = tratta::testing::crlf_lines({"[generale]", "lunghezza percorso,    10000", "[pendenze]",
                                                    "pendenza,  0,   0", "pendenza,  2000,   5", std::string(first_board)});
    return text + c.before + c.fault + c.after;
}

TEST(LineAgreement, CompileCheckAndEditorPlaceTheFaultAlike)
{
    const std::string train = tratta::testing::crlf_lines(testing::small_train_lines());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string line = line_source(c);

        tratta::CompileInput in;
        in.line = tratta::SourceText::of(line);
        in.train = tratta::SourceText::of(train);
        const tratta::CompileResult compiled = tratta::compile(in);
        ASSERT_FALSE(compiled.errors.empty());
        EXPECT_EQ(compiled.errors[0].code, 21);
        EXPECT_EQ(compiled.errors[0].place.line, c.line);
        EXPECT_EQ(compiled.errors[0].place.column, c.column);

        const CheckReport report = check_scenario({line, train, "Valle", "R 101"});
        ASSERT_FALSE(report.diagnostics.empty());
        EXPECT_EQ(report.diagnostics[0].code, "21");
        EXPECT_EQ(report.diagnostics[0].place.line, c.line);
        EXPECT_EQ(report.diagnostics[0].place.column, c.column);

        std::vector<json> got;
        Server server([&](const std::string& body) { got.push_back(json::parse(body)); }, memory_disk({}));
        server.receive(json({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}}).dump());
        server.receive(json({{"jsonrpc", "2.0"},
                             {"method", "textDocument/didOpen"},
                             {"params", {{"textDocument", {{"uri", line_uri}, {"languageId", "autore"}, {"version", 1}, {"text", line}}}}}})
                           .dump());
        server.publish_pending();
        json diagnostics;
        for (const json& m : got)
            if (m.value("method", "") == "textDocument/publishDiagnostics")
                diagnostics = m["params"]["diagnostics"];
        ASSERT_FALSE(diagnostics.empty()) << json(got).dump(1);
        EXPECT_EQ(diagnostics[0]["code"], "21");
        EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], c.line - 1);
        EXPECT_EQ(diagnostics[0]["range"]["start"]["character"], c.column - 1);
    }
}

} // namespace
} // namespace autore::lsp
