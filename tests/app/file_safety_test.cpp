// What the program reads and writes: outputs are regular files or nothing yet,
// inputs regular files that are read without ever waiting, an output is never
// one of the inputs, names fit with their temporary suffix, and standard
// output that cannot be written is reported.
#include "app/file_checks.hpp"
#include "app/files.hpp"
#include "app/own_files.hpp"
#include "app/standard_output.hpp"
#include "support/special_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tratta {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::Special;
using testing::TempFolder;
using testing::folder_listing;
using testing::write_bytes;

std::string failure_of(const auto& action)
{
    try {
        action();
    } catch (const FileFailure& failure) {
        return failure.what();
    }
    return "";
}

// A test that would wait on a fifo ends the test program after this long
// instead of holding the suite.
class NoWaiting {
public:
    NoWaiting() { ::alarm(20); }
    ~NoWaiting() { ::alarm(0); }
};

TEST(OutputPaths, AnythingButARegularFileIsRefusedAndLeftAsItWas)
{
    const struct {
        Special special;
        std::vector<const char*> message_parts;
    } rows[] = {
        {Special::folder, {"cartella"}},
        {Special::fifo, {"pipe con nome", "non un file normale"}},
        {Special::link_to_regular, {"collegamento simbolico", "nemmeno verso un file normale"}},
        {Special::dangling_link, {"collegamento simbolico"}},
        {Special::socket, {"socket"}},
        {Special::device, {"dispositivo a caratteri"}},
    };
    const NoWaiting guard;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::special_name(row.special));
        TempFolder dir;
        const auto output = dir / "Tratta_Esempio_TR 000 Esempio.sim";
        if (!testing::make_special(row.special, output, dir / "elsewhere.sim")) {
            ASSERT_EQ(row.special, Special::device) << "only a device may need an administrator";
            continue;
        }
        const auto before = folder_listing(dir.path());
        const std::string message = failure_of([&] { write_file_replacing(output, std::string(3000, 'n')); });
        EXPECT_NE(message.find(display_path(output)), std::string::npos) << message;
        for (const char* part : row.message_parts)
            EXPECT_NE(message.find(part), std::string::npos) << message;
        EXPECT_EQ(folder_listing(dir.path()), before);
        if (row.special == Special::link_to_regular) {
            EXPECT_TRUE(fs::is_symlink(output));
            EXPECT_EQ(read_bytes(dir / "elsewhere.sim"), "regular content");
        }
        EXPECT_NE(failure_of([&] { check_output_path(output); }), "");
    }
    EXPECT_NE(failure_of([] { check_output_path("/dev/null"); }).find("dispositivo a caratteri"), std::string::npos);
}

TEST(OutputPaths, ARegularFileOrAFreeNameIsAccepted)
{
    TempFolder dir;
    write_bytes(dir / "old.dat", "old");
    EXPECT_NO_THROW(check_output_path(dir / "old.dat"));
    EXPECT_NO_THROW(check_output_path(dir / "new.dat"));
}

TEST(InputPaths, OnlyRegularFilesAreReadAndNothingWaits)
{
    const struct {
        Special special;
        bool accepted;
        const char* message_part;
    } rows[] = {
        {Special::folder, false, "cartella"},
        {Special::fifo, false, "pipe con nome"},
        {Special::socket, false, "socket"},
        {Special::device, false, "dispositivo a caratteri"},
        {Special::dangling_link, false, "impossibile aprire il file"},
        {Special::link_to_regular, true, ""},
    };
    const NoWaiting guard;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::special_name(row.special));
        TempFolder dir;
        const auto input = dir / "Valle_linea.dat"; // named like a binary the tool reads
        if (!testing::make_special(row.special, input, dir / "real.dat")) {
            ASSERT_EQ(row.special, Special::device) << "only a device may need an administrator";
            continue;
        }
        if (row.accepted) {
            EXPECT_EQ(read_file(input), "regular content");
            EXPECT_NO_THROW(check_input_path(input));
            continue;
        }
        const std::string message = failure_of([&] { read_file(input); });
        EXPECT_NE(message.find(display_path(input)), std::string::npos) << message;
        EXPECT_NE(message.find(row.message_part), std::string::npos) << message;
        EXPECT_EQ(failure_of([&] { check_input_path(input); }), message);
    }
    EXPECT_NE(failure_of([] { read_file("/dev/null"); }).find("dispositivo a caratteri"), std::string::npos);
}

TEST(InputPaths, AWholeFileIsReadWhateverItsSize)
{
    TempFolder dir;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3} << 20}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7);
        write_bytes(dir / "f.bin", bytes);
        EXPECT_EQ(read_file(dir / "f.bin"), bytes);
    }
}

TEST(SameFile, OnePlaceUnderEveryName)
{
    TempFolder dir;
    fs::create_directory(dir / "sub");
    write_bytes(dir / "a.sim", "a");
    write_bytes(dir / "b.sim", "a");
    fs::create_hard_link(dir / "a.sim", dir / "hard.sim");
    fs::create_symlink(dir / "a.sim", dir / "soft.sim");
    const struct {
        fs::path other;
        bool same;
    } rows[] = {
        {dir / "a.sim", true},
        {dir / "sub" / ".." / "a.sim", true},
        {dir / "hard.sim", true},
        {dir / "soft.sim", true},
        {dir / "b.sim", false}, // equal bytes, another file
        {dir / "missing.sim", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.other.string());
        EXPECT_EQ(same_file(dir / "a.sim", row.other), row.same);
        EXPECT_EQ(same_file(row.other, dir / "a.sim"), row.same);
    }
    EXPECT_FALSE(same_file(dir / "missing.sim", dir / "missing.sim"));
}

TEST(NameLength, TheTemporaryNameMustFitToo)
{
    ASSERT_EQ(longest_file_name - own_suffix_longest, 222u);
    TempFolder dir;
    const struct {
        std::size_t length;
        bool fits;
    } rows[] = {{5, true}, {222, true}, {223, false}, {255, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        const auto file = dir / (std::string(row.length - 4, 'n') + ".sim");
        const auto problem = name_length_problem(file);
        EXPECT_EQ(!problem, row.fits) << problem.value_or("");
        if (row.fits) {
            EXPECT_NO_THROW(write_file_replacing(file, std::string_view("x")));
            continue;
        }
        EXPECT_NE(problem->find("troppo lungo"), std::string::npos) << *problem;
        EXPECT_NE(problem->find(file.filename().string()), std::string::npos) << *problem;
        const std::string message = failure_of([&] { write_file_replacing(file, std::string_view("x")); });
        EXPECT_NE(message.find("troppo lungo"), std::string::npos) << message;
        EXPECT_FALSE(fs::exists(file));
    }
    // The longest own suffix really is what the writer adds.
    const auto longest = own_name_beside(dir / "x", OwnFile::backup).filename().string();
    EXPECT_LE(longest.size() - 1, own_suffix_longest);
}

// Runs the action in a child process whose standard output is /dev/full;
// returns the message of the FileFailure it ended with, or a note.
std::string with_full_standard_output(void (*action)())
{
    int report[2];
    if (::pipe(report) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const int full = ::open("/dev/full", O_WRONLY);
        if (full < 0 || ::dup2(full, STDOUT_FILENO) < 0)
            _exit(3);
        std::string message = "reported as written";
        try {
            action();
        } catch (const FileFailure& failure) {
            message = failure.what();
        }
        [[maybe_unused]] const auto n = ::write(report[1], message.data(), message.size());
        _exit(0);
    }
    ::close(report[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? message : "the child failed";
}

TEST(StandardOutput, AFullDiskIsReported)
{
    const std::string direct = with_full_standard_output([] { write_standard_output(std::string(100000, 's')); });
    EXPECT_NE(direct.find("uscita standard"), std::string::npos) << direct;
    EXPECT_NE(direct.find(std::strerror(ENOSPC)), std::string::npos) << direct;

    const std::string streamed = with_full_standard_output([] {
        std::cout << "a line\n";
        flush_standard_output(std::cout);
    });
    EXPECT_NE(streamed.find("uscita standard"), std::string::npos) << streamed;
}

TEST(StandardOutput, AStreamThatTookEverythingIsNoFailure)
{
    std::ostringstream out;
    out << "all of it";
    EXPECT_NO_THROW(flush_standard_output(out));
    out.setstate(std::ios::badbit);
    EXPECT_NE(failure_of([&] { flush_standard_output(out); }).find("uscita standard"), std::string::npos);
}

} // namespace
} // namespace tratta
