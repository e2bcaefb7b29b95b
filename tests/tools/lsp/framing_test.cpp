// The reader of framed messages: whole messages however the bytes arrive,
// and the next message found again after bytes that make no header.
#include "autore/lsp/framing.hpp"

#include "support/row_name.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace autore::lsp {
namespace {

using Kind = Frame::Kind;

struct FramingCase {
    const char* what;
    std::vector<std::string> chunks; // fed one after the other
    std::vector<std::pair<Kind, std::string>> expected; // frames, then those that the end of the input gives
};

const std::string one = "Content-Length: 7\r\n\r\n{\"a\":1}";
const std::string two = "Content-Length: 7\r\n\r\n{\"b\":2}";

const FramingCase framing_cases[] = {
    {"one message", {one}, {{Kind::message, "{\"a\":1}"}}},
    {"two messages in one read", {one + two}, {{Kind::message, "{\"a\":1}"}, {Kind::message, "{\"b\":2}"}}},
    {"a message a byte at a time",
     [] {
         std::vector<std::string> bytes;
         for (char c : one)
             bytes.emplace_back(1, c);
         return bytes;
     }(),
     {{Kind::message, "{\"a\":1}"}}},
    {"the header's name in any case, with a content type after it",
     {"content-LENGTH:  7 \r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{\"a\":1}"},
     {{Kind::message, "{\"a\":1}"}}},
    {"header lines ended by LF alone", {"Content-Length: 7\n\n{\"a\":1}"}, {{Kind::message, "{\"a\":1}"}}},
    {"line ends between messages", {one + "\r\n\r\n" + two}, {{Kind::message, "{\"a\":1}"}, {Kind::message, "{\"b\":2}"}}},
    {"a header without its length, then a good message",
     {"Content-Type: x\r\n\r\n" + two},
     {{Kind::bad_header, ""}, {Kind::message, "{\"b\":2}"}}},
    {"a length that is no number", {"Content-Length: 7x\r\n\r\n" + two}, {{Kind::bad_header, ""}, {Kind::message, "{\"b\":2}"}}},
    {"the rest of a body given short, on the line of the next header",
     {"Content-Length: 3\r\n\r\n{\"a\":1}" + two},
     {{Kind::message, "{\"a"}, {Kind::message, "{\"b\":2}"}}},
    {"a message longer than the limit is passed over, the next one read",
     {"Content-Length: 40\r\n\r\n", std::string(25, 'x'), std::string(15, 'y') + two},
     {{Kind::too_large, ""}, {Kind::message, "{\"b\":2}"}}},
    {"a length that never comes is answered once, and the next header read",
     {"Content-Length: 99999999999999999\r\n\r\n", two},
     {{Kind::too_large, ""}, {Kind::message, "{\"b\":2}"}}},
    {"a length that never comes, the next header cut in two by the reads",
     {"Content-Length: 99999999999999999\r\n\r\nxx", "Content-Len", "gth: 7\r\n\r\n{\"b\":2}"},
     {{Kind::too_large, ""}, {Kind::message, "{\"b\":2}"}}},
    {"a length of more digits than any length has is no length",
     {"Content-Length: 9999999999999999999999\r\n\r\n" + two},
     {{Kind::bad_header, ""}, {Kind::message, "{\"b\":2}"}}},
    {"bytes that never make a header", {std::string(9000, 'z')}, {{Kind::bad_header, ""}, {Kind::bad_header, ""}}},
    {"a body cut short by the end of the input", {"Content-Length: 20\r\n\r\n{\"a\":1}"}, {{Kind::message, "{\"a\":1}"}}},
    {"a header cut short by the end of the input", {"Content-Len"}, {{Kind::bad_header, ""}}},
    {"nothing but line ends", {"\r\n\r\n"}, {}},
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.what; }

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, GivesEveryWholeMessage)
{
    const FramingCase& c = GetParam();
    MessageReader reader(32);
    std::vector<std::pair<Kind, std::string>> got;
    for (const std::string& chunk : c.chunks) {
        reader.feed(chunk);
        while (auto f = reader.next())
            got.emplace_back(f->kind, f->body);
    }
    while (auto f = reader.finish())
        got.emplace_back(f->kind, f->body);
    EXPECT_EQ(got, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rows, Framing, ::testing::ValuesIn(framing_cases), tratta::testing::RowName{});

TEST(Framing, BytesTakenBackAreReadBeforeWhatFollows)
{
    MessageReader reader;
    reader.feed(one.substr(0, 10));
    EXPECT_FALSE(reader.next());
    reader.unread(two);
    auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->body, "{\"b\":2}");
    reader.feed(one.substr(10));
    auto second = reader.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->body, "{\"a\":1}");
}

TEST(Framing, AMessageTooLargeIsNeverHeld)
{
    MessageReader reader(1 << 10);
    reader.feed("Content-Length: 100000000\r\n\r\n");
    auto f = reader.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, Kind::too_large);
    EXPECT_EQ(f->declared, 100000000u);
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 95; ++i) {
        reader.feed(block);
        EXPECT_FALSE(reader.next());
    }
    reader.feed(std::string(100000000 - 95 * (1 << 20), 'x') + two);
    auto next = reader.next();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->body, "{\"b\":2}");
}

TEST(Framing, FramedGivesTheLengthInBytes)
{
    EXPECT_EQ(framed("{\"t\":\"à\"}"), "Content-Length: 10\r\n\r\n{\"t\":\"à\"}");
}

} // namespace
} // namespace autore::lsp
