// The page kept up to date while the author edits: each save compiles the
// files again; a data error keeps the last drawing that compiled, marked as
// not current, with the new diagnostics on it; a file that cannot be read is
// told, and the page goes on.
#include "autore/serve/live_route.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace autore::serve {
namespace {

using nlohmann::json;
using tratta::testing::TempFolder;

const std::string alfa_at_1000 = "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa";
const std::string alfa_at_4000 = "stazione,    4000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa";
// A second signal on the cell of the one at 3000 m: error 16 there.
const std::string second_signal = "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0";

json data_of(const LiveRoute& route) { return json::parse(route.state()->data); }

int64_t alfa_at(const json& data)
{
    for (const json& s : data["stations"])
        if (s["name"] == "Alfa")
            return s["at_m"].get<int64_t>();
    return -1;
}

void rewrite_train(const testing::SmallScenario& files, const std::string& from, const std::string& to,
                   const std::vector<std::string>& extra = {})
{
    auto lines = testing::small_train_lines();
    for (auto& l : lines)
        if (l == from)
            l = to;
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    tratta::testing::write_bytes(files.train_file, tratta::testing::crlf_lines(lines));
}

CompileRequest request_of(const testing::SmallScenario& s)
{
    CompileRequest rq;
    rq.line_file = s.line_file;
    rq.train_file = s.train_file;
    return rq;
}

TEST(LiveRoute, FollowsEverySaveAndKeepsTheLastDrawingThatCompiled)
{
    TempFolder dir;
    const auto files = testing::write_small_scenario(dir.path());
    LiveRoute route(request_of(files));
    ASSERT_EQ(route.start(), std::nullopt);
    json d = data_of(route);
    EXPECT_EQ(alfa_at(d), 1000);
    EXPECT_TRUE(d["live"]["current"].get<bool>());
    EXPECT_TRUE(d["live"]["problem"].is_null());
    const std::string first = route.state()->serial;

    EXPECT_FALSE(route.refresh()) << "nothing saved, nothing new";
    EXPECT_EQ(route.state()->serial, first);

    struct Step {
        const char* what;
        std::function<void()> save;
        int64_t alfa_m;  // where the page draws the station
        bool current;
        bool problem;
        bool error_at_3000; // the planted error is listed, at its chainage and line
    };
    const std::vector<Step> steps = {
        {"the station moved", [&] { rewrite_train(files, alfa_at_1000, alfa_at_4000); }, 4000, true, false, false},
        {"an error planted", [&] { rewrite_train(files, alfa_at_1000, alfa_at_1000, {second_signal}); }, 4000,
         false, false, true},
        {"the train file removed", [&] { std::filesystem::remove(files.train_file); }, 4000, false, true, true},
        {"the error mended", [&] { rewrite_train(files, alfa_at_1000, alfa_at_1000); }, 1000, true, false, false},
    };
    std::string serial = first;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.save();
        ASSERT_TRUE(route.refresh());
        EXPECT_NE(route.state()->serial, serial);
        serial = route.state()->serial;
        d = data_of(route);
        EXPECT_EQ(alfa_at(d), step.alfa_m);
        EXPECT_EQ(d["live"]["current"].get<bool>(), step.current);
        EXPECT_EQ(d["live"]["problem"].is_string(), step.problem);
        bool listed = false;
        for (const json& diag : d["diagnostics"])
            listed = listed || (diag["severity"] == "error" && diag["at_m"] == 3000 &&
                                diag["file"] == files.train_file.filename().string() && diag["line"].get<int>() > 0);
        EXPECT_EQ(listed, step.error_at_3000) << d["diagnostics"].dump();
    }
}

// The data a page is given, less what tells one state of the server from another.
json drawn(const std::string& data)
{
    json d = json::parse(data);
    d.erase("live");
    return d;
}

TEST(LiveRoute, KeepsTheTrackPlanThroughSavesOfTheTrainFileAndDrawsItAnewWithTheLineFile)
{
    TempFolder dir;
    const std::vector<std::string> curve = {"[curve]", "curvad3,  2000,  800"};
    const auto files = testing::write_small_scenario(dir.path(), curve);
    LiveRoute route(request_of(files));
    ASSERT_EQ(route.start(), std::nullopt);
    std::string plan = route.state()->plan;
    ASSERT_FALSE(plan.empty());
    ASSERT_FALSE(drawn(route.state()->data)["plan"].is_null());

    const auto write_line = [&](std::vector<std::string> extra) {
        auto lines = testing::small_line_lines();
        lines.insert(lines.end() - 1, extra.begin(), extra.end());
        tratta::testing::write_bytes(files.line_file, tratta::testing::crlf_lines(lines));
    };
    struct Step {
        const char* what;
        std::function<void()> save;
        bool new_plan;
    };
    const std::vector<Step> steps = {
        {"a station moved", [&] { rewrite_train(files, alfa_at_1000, alfa_at_4000); }, false},
        {"a curve drawn tighter", [&] { write_line({"[curve]", "curvad5,  2000,  800"}); }, true},
        {"the station moved back", [&] { rewrite_train(files, alfa_at_1000, alfa_at_1000); }, false},
        {"the route made longer", [&] {
             auto lines = testing::small_line_lines();
             lines[1] = "lunghezza percorso,    12000";
             lines.insert(lines.end() - 1, curve.begin(), curve.end());
             tratta::testing::write_bytes(files.line_file, tratta::testing::crlf_lines(lines));
         }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.save();
        ASSERT_TRUE(route.refresh());
        const auto state = route.state();
        EXPECT_EQ(state->plan != plan, step.new_plan);
        plan = state->plan;
        // The same data as a server started afresh on the files as they are.
        LiveRoute fresh(request_of(files));
        ASSERT_EQ(fresh.start(), std::nullopt);
        EXPECT_EQ(drawn(state->data), drawn(fresh.state()->data));
        EXPECT_TRUE(data_of(route)["live"]["current"].get<bool>());
        EXPECT_EQ(data_of(route)["live"]["plan"], plan);
        // Without the plan, for a page that holds it: all the rest the same.
        json without = drawn(state->data_without_plan);
        EXPECT_TRUE(without["plan"].is_null());
        without["plan"] = drawn(state->data)["plan"];
        EXPECT_EQ(without, drawn(state->data));
    }
}

TEST(LiveRoute, RefusesToStartWithNothingToDraw)
{
    TempFolder dir;
    const auto files = testing::write_small_scenario(dir.path());
    std::filesystem::remove(files.line_file);
    LiveRoute route(request_of(files));
    const auto problem = route.start();
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("Valle_linea.txt"), std::string::npos) << *problem;
}

TEST(LiveRoute, ThePageCarriesItsDataAndMayReachOnlyItsOwnServer)
{
    TempFolder dir;
    const auto files = testing::write_small_scenario(dir.path());
    LiveRoute route(request_of(files));
    ASSERT_EQ(route.start(), std::nullopt);
    const std::string page = route.page();
    EXPECT_NE(page.find("connect-src 'self'"), std::string::npos);
    EXPECT_NE(page.find("\"serial\":\"" + route.state()->serial + "\""), std::string::npos);
    EXPECT_NE(page.find("<title>Valle — R 101</title>"), std::string::npos);
}

} // namespace
} // namespace autore::serve
