// The diagnostics written out for editors, terminals and code-scanning pages:
// whatever the author's files hold, every format is well-formed UTF-8 and the
// JSON and SARIF documents parse.
#include "autore/analysis/check.hpp"
#include "autore/diagnostics/report_formats.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace autore {
namespace {

using nlohmann::json;

// One SARIF result as code-scanning pages read it: a rule, a level, a
// message, and a place whose lines and columns count from 1.
void expect_sarif_result(const json& result)
{
    EXPECT_TRUE(result.at("ruleId").is_string());
    EXPECT_TRUE(result.at("level") == "error" || result.at("level") == "warning");
    EXPECT_TRUE(result.at("message").at("text").is_string());
    for (const json& where : result.at("locations")) {
        const json& region = where.at("physicalLocation").at("region");
        EXPECT_GE(region.at("startLine").get<int>(), 1);
        if (region.contains("startColumn")) {
            EXPECT_GE(region.at("startColumn").get<int>(), 1);
            EXPECT_GE(region.at("endColumn").get<int>(), region.at("startColumn").get<int>());
        }
        EXPECT_TRUE(where.at("physicalLocation").at("artifactLocation").at("uri").is_string());
    }
}

// Every input the fuzzer keeps, read as a line file and a train file (split
// at the first 0x00), checked and written as JSON and as SARIF: each document
// is written without an error and parses back, whatever bytes it quotes.
TEST(ReportFormats, EveryFuzzInputGivesJsonAndSarifThatParse)
{
    const SourceNames names{"Tratta_Esempio_linea.txt", "Tratta_Esempio_TR 000 Esempio-.txt"};
    std::size_t inputs = 0;
    std::size_t quoting_high_bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TRATTA_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t split = bytes.find('\0');
        const std::string line = bytes.substr(0, split);
        const std::string train = split == std::string::npos ? std::string() : bytes.substr(split + 1);
        SCOPED_TRACE(entry.path().filename().string());
        const CheckReport report = check_scenario({line, train, "Tratta_Esempio", "TR 000 Esempio"});
        ++inputs;
        std::string written;
        ASSERT_NO_THROW(written = diagnostics_json(report.diagnostics, names).dump());
        const json parsed = json::parse(written);
        ASSERT_EQ(parsed.size(), report.diagnostics.size());
        ASSERT_NO_THROW(written = diagnostics_sarif(report.diagnostics, names, "1.0.0").dump());
        const json sarif = json::parse(written);
        EXPECT_EQ(sarif.at("version"), "2.1.0");
        ASSERT_EQ(sarif.at("runs").size(), 1u);
        EXPECT_EQ(sarif.at("runs")[0].at("tool").at("driver").at("name"), "autore");
        for (const json& result : sarif.at("runs")[0].at("results"))
            expect_sarif_result(result);
        for (const Diagnostic& d : report.diagnostics)
            for (const char c : d.message)
                if (static_cast<unsigned char>(c) >= 0x80 && d.message.find("«") != std::string::npos) {
                    ++quoting_high_bytes;
                    break;
                }
    }
    EXPECT_GT(inputs, 1000u);
    EXPECT_GT(quoting_high_bytes, 0u);
}

// A folder name that is not UTF-8 (a Windows-1252 "Città" on a Linux disk)
// is shown with its stray byte as \xNN in every format.
TEST(ReportFormats, APathThatIsNotUtf8IsShownVisibly)
{
    Diagnostic d;
    d.code = "21";
    d.place = {tratta::SourceFile::line, 7, 1, 5};
    d.message = "indicatore di velocità su una cella occupata";
    d.related.push_back({{tratta::SourceFile::train, 3, 1, 2}, "qui"});
    const SourceNames names{"Citt\xE0/Valle_linea.txt", "Citt\xE0/Valle_R 101-.txt"};

    std::ostringstream text;
    write_text({d}, names, text);
    EXPECT_EQ(text.str(), "Citt\\xE0/Valle_linea.txt:7:1: error [21]: indicatore di velocità su una cella occupata\n"
                          "Citt\\xE0/Valle_R 101-.txt:3:1: note: qui\n");

    const json j = json::parse(diagnostics_json({d}, names).dump());
    EXPECT_EQ(j[0].at("file"), "Citt\\xE0/Valle_linea.txt");
    EXPECT_EQ(j[0].at("related")[0].at("file"), "Citt\\xE0/Valle_R 101-.txt");

    const json sarif = json::parse(diagnostics_sarif({d}, names, "1.0.0").dump());
    const json& location = sarif.at("runs")[0].at("results")[0].at("locations")[0];
    EXPECT_EQ(location.at("physicalLocation").at("artifactLocation").at("uri"), "Citt%E0/Valle_linea.txt");
}

TEST(ReportFormats, ArtifactUrisFollowTheFoldersOfThePlatform)
{
    struct Case {
        const char* name;
        bool backslash_separates;
        const char* uri;
    };
    const Case cases[] = {
        {"Valle_linea.txt", false, "Valle_linea.txt"},
        {"mia_linea/Valle_linea.txt", false, "mia_linea/Valle_linea.txt"},
        {"mia_linea\\Valle_linea.txt", true, "mia_linea/Valle_linea.txt"},
        // On Linux a backslash is a letter of the name.
        {"mia_linea\\Valle_linea.txt", false, "mia_linea%5CValle_linea.txt"},
        {"C:\\Scenari\\Citt\xC3\xA0\\Valle_linea.txt", true, "file:///C%3A/Scenari/Citt%C3%A0/Valle_linea.txt"},
        {"/srv/scenari/Valle_linea.txt", false, "/srv/scenari/Valle_linea.txt"},
        {"C:relativo.txt", true, "C%3Arelativo.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(artifact_uri(c.name, c.backslash_separates), c.uri) << c.name;
}

} // namespace
} // namespace autore
