#include "autore/driver_documents/documents.hpp"

#include "app/compile_purpose.hpp"
#include "model/code_page.hpp"
#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace autore {
namespace {

using tratta::testing::read_bytes;
using tratta::testing::TempFolder;

tratta::CompileResult compiled(const std::string& line, const std::string& train)
{
    return tratta::compile(tratta::compile_input(tratta::CompilePurpose::check, tratta::SourceText::of(line),
                                                 tratta::SourceText::of(train), "Valle", "R 101"));
}

// pack hands the documents the compile it made for its check: the documents
// are those that a compile of their own gives, data errors included.
TEST(Documents, FromACompileAlreadyMadeTheyAreThoseOfTheirOwnCompile)
{
    const std::vector<std::vector<std::string>> train_extras = {
        {},
        {"stazione,    6000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta"},
        {"stazione,   90000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Oltre"},
    };
    for (const auto& extra : train_extras) {
        SCOPED_TRACE(extra.empty() ? "" : extra[0]);
        TempFolder dir;
        const auto s = testing::write_small_scenario(dir.path(), {}, extra);
        const std::string line = read_bytes(s.line_file);
        const std::string train = read_bytes(s.train_file);
        const tratta::CompileResult made = compiled(line, train);
        const MadeDocuments own = make_documents({s.line_file, s.train_file, {}, line, train});
        const MadeDocuments given = make_documents({s.line_file, s.train_file, {}, line, train, &made});
        ASSERT_TRUE(own.texts);
        ASSERT_TRUE(given.texts);
        EXPECT_EQ(given.texts->notes, own.texts->notes);
        EXPECT_EQ(given.texts->slowdowns, own.texts->slowdowns);
        EXPECT_EQ(given.texts->timetable, own.texts->timetable);
        EXPECT_EQ(given.data_errors, own.data_errors);
        EXPECT_EQ(given.problems, own.problems);
    }
}

// The compile handed over is the one the documents read: there is no second
// compile of the bytes behind it.
TEST(Documents, TheCompileHandedOverIsTheOneRead)
{
    TempFolder dir;
    const auto s = testing::write_small_scenario(dir.path());
    const std::string line = read_bytes(s.line_file);
    const std::string train = read_bytes(s.train_file);
    std::filesystem::create_directory(dir.path() / "altro");
    const auto other = testing::write_small_scenario(
        dir.path() / "altro", {}, {"stazione,    6000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta"});
    const tratta::CompileResult made = compiled(line, read_bytes(other.train_file));
    const MadeDocuments given = make_documents({s.line_file, s.train_file, {}, line, train, &made});
    ASSERT_TRUE(given.texts);
    EXPECT_NE(given.texts->timetable.find("Beta"), std::string::npos);
    const MadeDocuments own = make_documents({s.line_file, s.train_file, {}, line, train});
    ASSERT_TRUE(own.texts);
    EXPECT_EQ(own.texts->timetable.find("Beta"), std::string::npos);
}

} // namespace
} // namespace autore
