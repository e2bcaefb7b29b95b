// Recorded exchanges with the real `autore lsp` over pipes: each file under
// tests/tools/lsp holds what the editor sends ("-->") and what the server
// must answer ("<--"), in order, and the exit status. The server's output
// must be nothing but framed messages.
//
// Lines of an exchange file:
//   # a comment
//   file <NAME> TEXT    a file written into the test's folder before the server starts
//   --> JSON            a message sent with its header
//   -->raw TEXT         bytes sent as they are
//   <-- JSON            the next message expected; the string "<*>" stands for any value
//   exit N              the exit status once the editor's end is closed
// TEXT takes \r \n \t \\ escapes; "$FOLDER" in any line is the folder as a URI.
#include "model/code_page.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef AUTORE_PROGRAM_PATH
#error "AUTORE_PROGRAM_PATH must name the autore program"
#endif
#ifndef LSP_EXCHANGES_DIR
#error "LSP_EXCHANGES_DIR must name the folder of the exchange files"
#endif

namespace autore {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;

// A sanitizer build answers slowly; no exchange needs this long.
constexpr auto answer_time = std::chrono::seconds(30);

struct Step {
    enum class Kind { file, send, send_raw, expect } kind;
    std::string name; // file: its name
    std::string text;
};

struct Exchange {
    std::vector<Step> steps;
    int exit_status = -1;
};

std::string unescaped(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out.push_back(s[i]);
            continue;
        }
        const char c = s[++i];
        out.push_back(c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c);
    }
    return out;
}

std::string with_folder(std::string text, const std::string& folder_uri)
{
    for (std::size_t at = text.find("$FOLDER"); at != std::string::npos; at = text.find("$FOLDER", at))
        text.replace(at, 7, folder_uri);
    return text;
}

Exchange read_exchange(const fs::path& file, const std::string& folder_uri)
{
    std::ifstream in(file, std::ios::binary);
    Exchange ex;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = with_folder(line, folder_uri);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.starts_with("-->raw ")) {
            ex.steps.push_back({Step::Kind::send_raw, {}, unescaped(line.substr(7))});
        } else if (line.starts_with("--> ")) {
            ex.steps.push_back({Step::Kind::send, {}, line.substr(4)});
        } else if (line.starts_with("<-- ")) {
            ex.steps.push_back({Step::Kind::expect, {}, line.substr(4)});
        } else if (line.starts_with("file <") && line.find("> ") != std::string::npos) {
            const std::size_t close = line.find("> ");
            ex.steps.push_back({Step::Kind::file, line.substr(6, close - 6), unescaped(line.substr(close + 2))});
        } else if (line.starts_with("exit ")) {
            ex.exit_status = std::stoi(line.substr(5));
        } else {
            ADD_FAILURE() << file << ": line not understood: " << line;
        }
    }
    return ex;
}

// Whether a message is what was expected; "<*>" matches anything.
bool matches(const json& expected, const json& got)
{
    if (expected.is_string() && expected.get<std::string>() == "<*>")
        return true;
    if (expected.type() != got.type() || expected.size() != got.size())
        return false;
    if (expected.is_object()) {
        for (auto it = expected.begin(); it != expected.end(); ++it)
            if (!got.contains(it.key()) || !matches(it.value(), got[it.key()]))
                return false;
        return true;
    }
    if (expected.is_array()) {
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (!matches(expected[i], got[i]))
                return false;
        return true;
    }
    return expected == got;
}

// The server as a child process, spoken to over two pipes.
class ServerProcess {
public:
    explicit ServerProcess(const fs::path& folder)
    {
        int to_child[2];
        int from_child[2];
        if (pipe(to_child) != 0 || pipe(from_child) != 0)
            throw std::runtime_error("no pipe");
        const std::string log = (folder / "stderr.txt").string();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(to_child[0], 0);
            dup2(from_child[1], 1);
            const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (err >= 0)
                dup2(err, 2);
            close(to_child[1]);
            close(from_child[0]);
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            execl(AUTORE_PROGRAM_PATH, "autore", "lsp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(to_child[0]);
        close(from_child[1]);
        in_ = to_child[1];
        out_ = from_child[0];
        fcntl(in_, F_SETFL, fcntl(in_, F_GETFL) | O_NONBLOCK);
    }
    ~ServerProcess()
    {
        close_input();
        if (out_ >= 0)
            close(out_);
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void send(const std::string& bytes) { pending_ += bytes; }

    // The next message the server writes, or none by the deadline. Any byte
    // that is not part of a framed message fails the test.
    std::optional<json> next_message()
    {
        const auto deadline = Clock::now() + answer_time;
        for (;;) {
            if (auto m = take_message())
                return m;
            if (eof_ || !pump(deadline))
                return std::nullopt;
        }
    }

    void close_input()
    {
        if (in_ >= 0) {
            const auto deadline = Clock::now() + answer_time;
            while (!pending_.empty() && pump(deadline)) {
            }
            close(in_);
            in_ = -1;
        }
    }

    // Everything the server still writes, until it ends, and its exit status.
    int finish(std::vector<json>& rest)
    {
        close_input();
        while (auto m = next_message())
            rest.push_back(*m);
        EXPECT_TRUE(buffer_.empty()) << "bytes after the last message: " << buffer_;
        const auto deadline = Clock::now() + answer_time;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                ADD_FAILURE() << "the server did not end";
                return -1;
            }
            usleep(10000);
        }
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    std::optional<json> take_message()
    {
        constexpr std::string_view head = "Content-Length: ";
        if (buffer_.size() < head.size())
            return std::nullopt;
        EXPECT_EQ(buffer_.substr(0, head.size()), head) << "not a message: " << buffer_.substr(0, 200);
        const std::size_t end = buffer_.find("\r\n\r\n");
        if (end == std::string::npos)
            return std::nullopt;
        const std::size_t length = std::stoul(buffer_.substr(head.size(), end - head.size()));
        if (buffer_.size() < end + 4 + length)
            return std::nullopt;
        const std::string body = buffer_.substr(end + 4, length);
        buffer_.erase(0, end + 4 + length);
        return json::parse(body);
    }

    // Writes what is waiting and reads what came; false at the deadline.
    bool pump(Clock::time_point deadline)
    {
        pollfd fds[2] = {{out_, POLLIN, 0}, {in_, static_cast<short>(pending_.empty() ? 0 : POLLOUT), 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        const int n = poll(fds, in_ >= 0 ? 2 : 1, static_cast<int>(left));
        if (n < 0 && errno == EINTR)
            return true;
        if (n <= 0)
            return false;
        if (in_ >= 0 && (fds[1].revents & POLLOUT) != 0) {
            const ssize_t w = write(in_, pending_.data(), pending_.size());
            if (w > 0)
                pending_.erase(0, static_cast<std::size_t>(w));
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            char chunk[65536];
            const ssize_t r = read(out_, chunk, sizeof chunk);
            if (r <= 0)
                eof_ = true;
            else
                buffer_.append(chunk, static_cast<std::size_t>(r));
        }
        return true;
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    bool eof_ = false;
    bool reaped_ = false;
    std::string pending_;
    std::string buffer_;
};

std::string framed(const std::string& body)
{
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::vector<std::string> exchange_files()
{
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(LSP_EXCHANGES_DIR))
        if (entry.path().extension() == ".exchange")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

class Exchanges : public ::testing::TestWithParam<std::string> {};

TEST_P(Exchanges, TheServerAnswersAsRecorded)
{
    signal(SIGPIPE, SIG_IGN);
    tratta::testing::TempFolder folder;
    const Exchange ex = read_exchange(GetParam(), "file://" + folder.path().generic_string());
    for (const Step& s : ex.steps)
        if (s.kind == Step::Kind::file)
            tratta::testing::write_bytes(folder / s.name, tratta::utf8_to_cp1252(s.text));

    ServerProcess server(folder.path());
    for (const Step& s : ex.steps) {
        switch (s.kind) {
        case Step::Kind::file: break;
        case Step::Kind::send: server.send(framed(json::parse(s.text).dump())); break;
        case Step::Kind::send_raw: server.send(s.text); break;
        case Step::Kind::expect: {
            const json expected = json::parse(s.text);
            const auto got = server.next_message();
            ASSERT_TRUE(got) << "no answer where expected:\n" << expected.dump();
            ASSERT_TRUE(matches(expected, *got)) << "expected:\n" << expected.dump() << "\ngot:\n" << got->dump();
            break;
        }
        }
    }
    std::vector<json> rest;
    const int status = server.finish(rest);
    for (const json& m : rest)
        ADD_FAILURE() << "a message not expected: " << m.dump();
    EXPECT_EQ(status, ex.exit_status);
}

INSTANTIATE_TEST_SUITE_P(Files, Exchanges, ::testing::ValuesIn(exchange_files()), [](const auto& row) {
    std::string name = fs::path(row.param).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

} // namespace
} // namespace autore
