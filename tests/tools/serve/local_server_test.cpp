// The local server answers only its own address, serves its page, its data
// and its stream of updates and nothing from the disk, and every open page
// gets each new drawing. All traffic stays on 127.0.0.1.
#include "autore/serve/local_server.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>
#include <httplib.h>

#include <future>
#include <nlohmann/json.hpp>
#include <thread>

namespace autore::serve {
namespace {

using tratta::testing::TempFolder;

// A server on a port the system chose, answering from a thread of its own.
struct Running {
    TempFolder dir;
    testing::SmallScenario files = testing::write_small_scenario(dir.path());
    LiveRoute route{[this] {
        CompileRequest rq;
        rq.line_file = files.line_file;
        rq.train_file = files.train_file;
        return rq;
    }()};
    LocalServer server{route};
    std::thread thread;

    Running()
    {
        EXPECT_EQ(route.start(), std::nullopt);
        EXPECT_EQ(server.bind(0), std::nullopt);
        thread = std::thread([this] { server.run(); });
    }
    ~Running()
    {
        server.stop();
        thread.join();
    }
    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", server.port());
        c.set_read_timeout(5, 0);
        return c;
    }
};

TEST(LocalServer, AnswersOnlyRequestsAddressedToItself)
{
    Running r;
    const std::string port = std::to_string(r.server.port());
    EXPECT_EQ(r.server.address(), "http://127.0.0.1:" + port + "/");
    struct Case {
        std::string host;
        int status;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1:" + port, 200},
        {"localhost:" + port, 200},
        {"LocalHost:" + port, 200},
        {"attacker.example:" + port, 403}, // a web site's own name pointed at this machine
        {"attacker.example", 403},
        {"127.0.0.1", 403},
        {"127.0.0.1:" + std::to_string(r.server.port() + 1), 403},
        {"localhost.attacker.example:" + port, 403},
        {"", 403},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        auto res = r.client().Get("/dati", {{"Host", c.host}});
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status);
        if (c.status == 403) {
            EXPECT_EQ(res->body.find("\"stations\""), std::string::npos);
        }
    }
}

TEST(LocalServer, ServesThePageItsDataAndNothingFromTheDisk)
{
    Running r;
    struct Case {
        std::string path;
        int status;
        std::string type;
    };
    const std::string line_name = r.files.line_file.filename().string();
    const std::vector<Case> cases = {
        {"/", 200, "text/html; charset=utf-8"},
        {"/dati", 200, "application/json"},
        {"/" + line_name, 404, ""},
        {"/../" + line_name, 404, ""},
        {"/%2e%2e/%2e%2e/etc/passwd", 404, ""},
        {"/index.html", 404, ""},
        {"/dati/../../x", 404, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto res = r.client().Get(c.path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status);
        if (c.status == 200) {
            EXPECT_EQ(res->get_header_value("Content-Type"), c.type);
            EXPECT_EQ(res->get_header_value("Cache-Control"), "no-store");
        }
    }
    const auto page = r.client().Get("/");
    EXPECT_NE(page->body.find(r.route.state()->serial), std::string::npos);
    // Nothing is written or changed by a request.
    auto post = r.client().Post("/dati", "{}", "application/json");
    ASSERT_TRUE(post);
    EXPECT_NE(post->status, 200);
}

// The data of the first event a page's stream brings; `heard` is kept once
// the server has answered the stream at all.
nlohmann::json first_event(const LocalServer& server, const std::string& since, std::promise<void>* heard = nullptr)
{
    httplib::Client c("127.0.0.1", server.port());
    c.set_read_timeout(20, 0);
    std::string got;
    c.Get("/eventi?dopo=" + since, [&](const char* data, size_t size) {
        if (heard != nullptr && got.empty())
            heard->set_value();
        got.append(data, size);
        const auto at = got.find("data: ");
        return at == std::string::npos || got.find("\n\n", at) == std::string::npos;
    });
    const auto at = got.find("data: ");
    if (at == std::string::npos)
        return nlohmann::json();
    return nlohmann::json::parse(got.substr(at + 6, got.find("\n\n", at) - at - 6));
}

// What one page's stream brings first: the serial of the state it carries.
std::string first_serial(const LocalServer& server, const std::string& since)
{
    const nlohmann::json event = first_event(server, since);
    return event.is_object() ? event["live"]["serial"].get<std::string>() : "";
}

// The author adds a signal to the train file and saves; the server tells the pages.
void save_a_signal(Running& r)
{
    auto lines = testing::small_train_lines();
    lines.insert(lines.end() - 1, "segnale,    6000,   2, 4, 1,  1, 0,    2,  2,1,1, 0");
    tratta::testing::write_bytes(r.files.train_file, tratta::testing::crlf_lines(lines));
    ASSERT_TRUE(r.route.refresh());
    r.server.publish();
}

TEST(LocalServer, EveryOpenPageGetsTheNewDrawing)
{
    Running r;
    const std::string first = r.route.state()->serial;
    // A page that missed a change gets the latest state as soon as it listens.
    EXPECT_EQ(first_serial(r.server, "an-older-serial"), first);

    // Two pages up to date wait for the next save, whenever they connect.
    std::string a;
    std::string b;
    std::thread page_a([&] { a = first_serial(r.server, first); });
    std::thread page_b([&] { b = first_serial(r.server, first); });
    save_a_signal(r);
    page_a.join();
    page_b.join();
    const std::string next = r.route.state()->serial;
    EXPECT_NE(next, first);
    EXPECT_EQ(a, next);
    EXPECT_EQ(b, next);
}

TEST(LocalServer, APageThatHoldsTheTrackPlanIsNotSentItAgain)
{
    Running r;
    const auto before = r.route.state();
    nlohmann::json event;
    std::promise<void> heard;
    std::thread page([&] { event = first_event(r.server, before->serial, &heard); });
    // The page up to date is told at once that it is heard; then the author saves.
    heard.get_future().wait();
    save_a_signal(r);
    page.join();
    ASSERT_TRUE(event.is_object());
    EXPECT_EQ(event["live"]["serial"], r.route.state()->serial);
    EXPECT_EQ(event["live"]["plan"], before->plan);
    EXPECT_TRUE(event["plan"].is_null());
    EXPECT_EQ(event["stations"], nlohmann::json::parse(r.route.state()->data)["stations"]);

    // A page that comes back from an older state, whose plan the server cannot know, gets it whole.
    const nlohmann::json whole = first_event(r.server, before->serial + "-older");
    EXPECT_EQ(whole["live"]["serial"], r.route.state()->serial);
    EXPECT_FALSE(whole["plan"].is_null());
    EXPECT_EQ(whole["plan"], nlohmann::json::parse(r.route.state()->data)["plan"]);
}

TEST(LocalServer, APortThatIsTakenIsTold)
{
    Running r;
    LocalServer second(r.route);
    const auto problem = second.bind(r.server.port());
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find(std::to_string(r.server.port())), std::string::npos);
}

} // namespace
} // namespace autore::serve
