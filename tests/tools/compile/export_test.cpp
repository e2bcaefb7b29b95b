#include "autore/compile/export_template.hpp"

#include "app/avvio.hpp"
#include "app/file_names.hpp"
#include "app/scenario_texts.hpp"
#include "scenario/text_writer.hpp"
#include "tools/tool_support.hpp"
#include "support/special_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace autore {
namespace {

using tratta::testing::read_bytes;
using tratta::testing::TempFolder;
using tratta::testing::write_bytes;

// The template is the embedded scenario: its five texts byte for byte, the
// very files the embedded program writes beside itself before it compiles.
TEST(Export, WritesTheEmbeddedProgramsFiveTextsByteForByte)
{
    TempFolder dir;
    const auto run = testing::run_tool({"export", (dir / "nuovo").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto f = tratta::file_names(dir / "nuovo", tratta::scenario_constant, tratta::train_constant);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "nuovo"), {}), 5);
    const auto embedded = tratta::embedded_texts();
    for (const auto& [file, text] : {std::pair{f.line_source, &embedded.line}, std::pair{f.train_source, &embedded.train},
                                     std::pair{f.notes, &embedded.notes}, std::pair{f.slowdowns, &embedded.slowdowns},
                                     std::pair{f.timetable, &embedded.timetable}}) {
        SCOPED_TRACE(file.filename().string());
        EXPECT_EQ(read_bytes(file), *text);
    }
    EXPECT_EQ(read_bytes(f.notes), tratta::encode_data_set(tratta::note_data()));
    EXPECT_EQ(read_bytes(f.timetable), tratta::encode_data_set(tratta::scheda_data()));
}

TEST(Export, AnAuthorsEditedFileIsKeptUnlessForced)
{
    TempFolder dir;
    const auto f = tratta::file_names(dir.path(), tratta::scenario_constant, tratta::train_constant);
    write_bytes(f.train_source, "my edits");

    const auto refused = testing::run_tool({"export", dir.path().string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(read_bytes(f.train_source), "my edits");
    EXPECT_FALSE(std::filesystem::exists(f.line_source));

    EXPECT_EQ(testing::run_tool({"export", dir.path().string(), "--force"}).status, 0);
    EXPECT_EQ(read_bytes(f.train_source), tratta::encode_data_set(tratta::treno_data()));
}

// Even with --force, a name that is not a regular file is not written through
// or replaced, and then none of the five is written.
TEST(Export, ANameThatIsNotARegularFileRefusesTheWholeTemplate)
{
    namespace t = tratta::testing;
    for (const auto special : {t::Special::folder, t::Special::link_to_regular, t::Special::dangling_link}) {
        SCOPED_TRACE(t::special_name(special));
        TempFolder dir;
        const auto f = tratta::file_names(dir.path(), tratta::scenario_constant, tratta::train_constant);
        ASSERT_TRUE(t::make_special(special, f.notes, dir / "elsewhere.txt"));
        const auto run = testing::run_tool({"export", dir.path().string(), "--force"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(f.notes.filename().string()), std::string::npos) << run.err;
        for (const auto& file : {f.line_source, f.train_source, f.slowdowns, f.timetable})
            EXPECT_FALSE(std::filesystem::exists(file)) << file;
        if (special == t::Special::link_to_regular) {
            EXPECT_EQ(read_bytes(dir / "elsewhere.txt"), "regular content");
        }
        // Without --force a dangling link, too, is a name already taken.
        EXPECT_NE(testing::run_tool({"export", dir.path().string()}).err.find("esiste già"), std::string::npos);
    }
}

} // namespace
} // namespace autore
