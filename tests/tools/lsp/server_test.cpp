// The language server through its message handler, in memory: the partner
// files of a scenario, documents too large, cancelled requests, changes by
// range, and the protocol's errors.
#include "autore/lsp/server.hpp"

#include "support/temp_folder.hpp"
#include "tools/small_scenario.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace autore::lsp {
namespace {

using nlohmann::json;
using tratta::testing::crlf_lines;

const std::string line_uri = "file:///scen/Valle_linea.txt";
const std::string train_uri = "file:///scen/Valle_R%20101-.txt";

std::string small_line(const std::vector<std::string>& extra = {})
{
    auto lines = testing::small_line_lines();
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    return crlf_lines(lines);
}

std::string small_train(const std::vector<std::string>& extra = {})
{
    auto lines = testing::small_train_lines();
    lines.insert(lines.end() - 1, extra.begin(), extra.end());
    return crlf_lines(lines);
}

// An editor talking to the server: what it sends, and all it got back.
class Editor {
public:
    explicit Editor(std::map<std::string, std::string> disk = {}, ServerOptions options = {})
        : server_([this](const std::string& body) { got.push_back(json::parse(body)); },
                  memory_disk(std::move(disk)), options)
    {
    }

    void send(const json& m) { server_.receive(m.dump()); }
    void send_raw(const std::string& text) { server_.receive(text); }
    void send_together(const std::vector<json>& ms)
    {
        std::vector<Incoming> batch;
        for (const json& m : ms)
            batch.push_back(parse_incoming(m.dump()));
        server_.receive(std::move(batch));
    }
    void start()
    {
        send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
        send({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
        got.clear();
    }
    void open(const std::string& uri, const std::string& text)
    {
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", uri}, {"languageId", "autore"}, {"version", 1}, {"text", text}}}}}});
    }
    json ask(int id, const std::string& method, const json& params)
    {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        for (const json& m : got)
            if (m.contains("id") && m["id"] == id)
                return m;
        return json();
    }
    void publish() { server_.publish_pending(); }
    // The last diagnostics published for a document.
    json diagnostics_of(const std::string& uri) const
    {
        json last;
        for (const json& m : got)
            if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
                last = m["params"]["diagnostics"];
        return last;
    }
    const Server& server() const { return server_; }
    Server& server() { return server_; }

    std::vector<json> got;

private:
    Server server_;
};

json at(const std::string& uri, int line, int character)
{
    return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

std::vector<std::string> codes_of(const json& diagnostics)
{
    std::vector<std::string> codes;
    for (const json& d : diagnostics)
        codes.push_back(d["code"].get<std::string>() + "@" + std::to_string(d["range"]["start"]["line"].get<int>()));
    return codes;
}

TEST(LspServer, ATrainFileIsCheckedWithTheLineFileBesideItOnDisk)
{
    Editor editor({{"/scen/Valle_linea.txt", small_line({"indicatori_vmax,  3000,  95,  100,  105,  0,  ,  ,  ,  0"})}});
    editor.start();
    editor.open(train_uri, small_train());
    editor.publish();
    const json d = editor.diagnostics_of(train_uri);
    ASSERT_EQ(d.size(), 1u) << d.dump(1);
    EXPECT_EQ(d[0]["code"], "16");
    EXPECT_EQ(d[0]["range"]["start"]["line"], 9);
    // The speed board that holds the cell stands in the line file on disk.
    ASSERT_TRUE(d[0].contains("relatedInformation")) << d.dump(1);
    EXPECT_EQ(d[0]["relatedInformation"][0]["location"]["uri"], line_uri);
    EXPECT_EQ(d[0]["relatedInformation"][0]["location"]["range"]["start"]["line"], 5);
}

TEST(LspServer, AnOpenDocumentStandsInForItsFileOnDisk)
{
    // On disk the line file is clean; the editor holds it with a fault.
    Editor editor({{"/scen/Valle_linea.txt", small_line()}, {"/scen/Valle_R 101-.txt", small_train()}});
    editor.start();
    editor.open(train_uri, small_train());
    editor.open(line_uri, small_line({"indicatori_vmax,  3000,  95,  100,  105,  0,  ,  ,  ,  0"}));
    editor.publish();
    EXPECT_EQ(codes_of(editor.diagnostics_of(train_uri)), std::vector<std::string>{"16@9"});
    EXPECT_EQ(editor.diagnostics_of(line_uri), json::array());
    // A save checks the open files of the folder again: the files on disk may have changed.
    editor.got.clear();
    editor.send({{"jsonrpc", "2.0"}, {"method", "textDocument/didSave"}, {"params", {{"textDocument", {{"uri", line_uri}}}}}});
    editor.publish();
    EXPECT_EQ(editor.got.size(), 2u);
    EXPECT_EQ(codes_of(editor.diagnostics_of(train_uri)), std::vector<std::string>{"16@9"});
    // Closed, the line file is read from disk again and the fault is gone.
    editor.send({{"jsonrpc", "2.0"}, {"method", "textDocument/didClose"}, {"params", {{"textDocument", {{"uri", line_uri}}}}}});
    EXPECT_EQ(editor.diagnostics_of(line_uri), json::array());
    editor.publish();
    EXPECT_EQ(editor.diagnostics_of(train_uri), json::array());
}

TEST(LspServer, ALineFileAloneSaysOnlyWhatItSaysOfItself)
{
    Editor editor;
    editor.start();
    editor.open(line_uri, small_line({"indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0",
                                      "indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0"}));
    editor.publish();
    // Error 21 of the second board; no board is compared with the limits of a train there is none of.
    EXPECT_EQ(codes_of(editor.diagnostics_of(line_uri)), std::vector<std::string>{"21@6"});
}

// A board text no record can hold keeps compile from writing anything: the
// editor shows it at its line while the author types, once.
TEST(LspServer, WhatCompileRefusesStandsAtItsLine)
{
    Editor editor;
    editor.start();
    editor.open(line_uri, small_line({"cartello_indicatore,  5000,   " + std::string(66000, 'K')}));
    editor.publish();
    EXPECT_EQ(codes_of(editor.diagnostics_of(line_uri)), std::vector<std::string>{"testo-troppo-lungo@5"});
}

TEST(LspServer, ATrainFileWithoutItsLineFileIsToldSo)
{
    Editor editor;
    editor.start();
    editor.open(train_uri, small_train());
    editor.publish();
    EXPECT_EQ(codes_of(editor.diagnostics_of(train_uri)), std::vector<std::string>{"linea-mancante@0"});
    EXPECT_EQ(editor.diagnostics_of(train_uri)[0]["severity"], 3);
}

TEST(LspServer, EveryTrainOfTheScenarioIsCheckedWithItsLineFile)
{
    // Two trains on disk, each with its own fault against the same speed board.
    const std::string board = "indicatori_vmax,  3000,  95,  100,  105,  0,  ,  ,  ,  0";
    Editor editor({{"/scen/Valle_R 101-.txt", small_train()},
                   {"/scen/Valle_R 102-.txt", small_train({"velocita,  2500,  40"})},
                   {"/scen/Altra_R 1-.txt", small_train({"orologio, 25 75 20"})}});
    editor.start();
    editor.open(line_uri, small_line({board}));
    editor.publish();
    // The board disagrees with the limit of the second train only: said once, as found with it.
    EXPECT_EQ(codes_of(editor.diagnostics_of(line_uri)), std::vector<std::string>{"cartello-velocita-discorde@5"});
}

TEST(LspServer, ADocumentTooLargeGetsOneDiagnosticAndNoAnswers)
{
    // Some 5 MB, past the 4 MiB the server checks.
    Editor editor;
    editor.start();
    editor.open(line_uri, small_line(std::vector<std::string>(240000, "pendenza,  2000,   5")));
    editor.publish();
    EXPECT_EQ(codes_of(editor.diagnostics_of(line_uri)), std::vector<std::string>{"documento-troppo-grande@0"});
    EXPECT_TRUE(editor.ask(1, "textDocument/hover", at(line_uri, 3, 2))["result"].is_null());
}

TEST(LspServer, ADocumentNeverOpenedGetsNullResults)
{
    Editor editor;
    editor.start();
    const std::string nowhere = "file:///nowhere/Mai_linea.txt";
    for (const char* method : {"textDocument/hover", "textDocument/completion", "textDocument/documentSymbol"}) {
        SCOPED_TRACE(method);
        const json answer = editor.ask(1, method, at(nowhere, 0, 0));
        ASSERT_TRUE(answer.contains("result")) << answer.dump();
        EXPECT_TRUE(answer["result"].is_null());
    }
}

TEST(LspServer, ARequestCancelledInTheSameRunIsAnsweredAsCancelled)
{
    Editor editor;
    editor.start();
    editor.open(line_uri, small_line());
    editor.send_together({{{"jsonrpc", "2.0"}, {"id", 7}, {"method", "textDocument/hover"}, {"params", at(line_uri, 1, 2)}},
                          {{"jsonrpc", "2.0"}, {"method", "$/cancelRequest"}, {"params", {{"id", 7}}}},
                          {{"jsonrpc", "2.0"}, {"id", 8}, {"method", "textDocument/hover"}, {"params", at(line_uri, 1, 2)}}});
    std::map<int, json> answers;
    for (const json& m : editor.got)
        if (m.contains("id"))
            answers[m["id"].get<int>()] = m;
    EXPECT_EQ(answers[7]["error"]["code"], -32800);
    EXPECT_TRUE(answers[8]["result"].is_object());
}

TEST(LspServer, AChangeByRangeIsAppliedInTheEditorsUnits)
{
    Editor editor;
    editor.start();
    editor.open(line_uri, small_line({"cartello_indicatore,  2000,  (Città)", "pendènza,  2500,  3"}));
    editor.publish();
    EXPECT_EQ(codes_of(editor.diagnostics_of(line_uri)), std::vector<std::string>{"chiave-sconosciuta@6"});
    // "è" becomes "e": in UTF-16 units it is character 4 of its line.
    editor.send({{"jsonrpc", "2.0"},
                 {"method", "textDocument/didChange"},
                 {"params",
                  {{"textDocument", {{"uri", line_uri}, {"version", 2}}},
                   {"contentChanges",
                    {{{"range", {{"start", {{"line", 6}, {"character", 4}}}, {"end", {{"line", 6}, {"character", 5}}}}},
                      {"text", "e"}}}}}}});
    editor.publish();
    EXPECT_EQ(editor.diagnostics_of(line_uri), json::array());
    EXPECT_EQ(editor.got.back()["params"]["version"], 2);
}

// Keys are offered while the cursor stands in a line's first field, as the
// compile reads it: up to the comma that ends it, a comma in quotes ending nothing.
TEST(LspServer, KeysAreOfferedInTheFirstFieldOnly)
{
    const struct {
        std::string line;
        int character;
        bool keys;
    } rows[] = {
        {"pend", 4, true},
        {"ripetizione segn", 16, true},
        {"pendenza,", 9, false},
        {"pendenza,  1250", 15, false},
        {"\"curva, s", 9, true},
        {"\"curva, s\",", 11, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.line);
        Editor editor;
        editor.start();
        editor.open(line_uri, small_line({r.line}));
        const json answer = editor.ask(1, "textDocument/completion", at(line_uri, 5, r.character));
        bool any_key = false;
        for (const json& item : answer["result"]["items"])
            any_key = any_key || item["label"] == "pendenza";
        EXPECT_EQ(any_key, r.keys) << answer.dump(1);
    }
}

// The checks as rounds, as the server runs them on a thread of their own:
// while one runs, requests are answered from the document's text; a document
// changed meanwhile gets the round's result dropped and only its newest check
// published.
TEST(LspServer, ChecksInRoundsAnswerMeanwhileAndPublishOnlyTheNewest)
{
    Editor editor;
    editor.server().check_in_rounds();
    editor.start();
    const std::string faulty = small_line({"indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0",
                                           "indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0"});
    editor.open(line_uri, faulty);
    auto first = editor.server().begin_checks();
    ASSERT_TRUE(first);

    // The round has not ended: a hover on the key is answered at once, from the text.
    const json hover = editor.ask(1, "textDocument/hover", at(line_uri, 5, 3));
    ASSERT_TRUE(hover["result"].is_object()) << hover.dump();
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("indicatori_vmax"), std::string::npos);

    // The author mends the fault before the round ends: its result is stale.
    editor.send({{"jsonrpc", "2.0"},
                 {"method", "textDocument/didChange"},
                 {"params", {{"textDocument", {{"uri", line_uri}, {"version", 2}}}, {"contentChanges", {{{"text", small_line()}}}}}}});
    first->run();
    editor.server().finish_checks(*first);
    EXPECT_TRUE(editor.diagnostics_of(line_uri).is_null()) << "a stale check was published";

    auto second = editor.server().begin_checks();
    ASSERT_TRUE(second);
    second->run();
    editor.server().finish_checks(*second);
    EXPECT_EQ(editor.diagnostics_of(line_uri), json::array());
    EXPECT_EQ(editor.got.back()["params"]["version"], 2);
    EXPECT_EQ(editor.server().begin_checks(), nullptr);

    // A round that ends after "shutdown" publishes nothing.
    editor.send({{"jsonrpc", "2.0"},
                 {"method", "textDocument/didChange"},
                 {"params", {{"textDocument", {{"uri", line_uri}, {"version", 3}}}, {"contentChanges", {{{"text", faulty}}}}}}});
    auto third = editor.server().begin_checks();
    ASSERT_TRUE(third);
    editor.ask(9, "shutdown", nullptr);
    third->run();
    const std::size_t before = editor.got.size();
    editor.server().finish_checks(*third);
    EXPECT_EQ(editor.got.size(), before);
}

TEST(LspServer, TheProtocolsErrors)
{
    const struct {
        const char* what;
        std::string message;
        bool initialized;
        int code; // 0: no answer at all
    } rows[] = {
        {"no JSON", "{\"jsonrpc\": \"2.0\", \"id\": 1, ", true, -32700},
        {"a number beyond any double", R"({"jsonrpc":"2.0","id":1e99999,"method":"shutdown"})", true, -32700},
        {"not an object", "[1, 2]", true, -32600},
        {"an id that is an object", R"({"jsonrpc":"2.0","id":{"a":1},"method":"shutdown"})", true, -32600},
        {"no method", R"({"jsonrpc":"2.0","id":3})", true, -32600},
        {"a method that is no text", R"({"jsonrpc":"2.0","id":3,"method":4})", true, -32600},
        {"an unknown method", R"({"jsonrpc":"2.0","id":3,"method":"textDocument/formatting","params":{}})", true, -32601},
        {"an unknown notification", R"({"jsonrpc":"2.0","method":"textDocument/didFly","params":{}})", true, 0},
        {"a response of the editor", R"({"jsonrpc":"2.0","id":3,"result":null})", true, 0},
        {"a hover without its position", R"({"jsonrpc":"2.0","id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///a"}}})", true, -32602},
        {"a position that is no number", R"({"jsonrpc":"2.0","id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///scen/Valle_linea.txt"},"position":{"line":"x","character":0}}})", true, -32602},
        {"a request before initialize", R"({"jsonrpc":"2.0","id":3,"method":"textDocument/hover","params":{}})", false, -32002},
        {"initialize twice", R"({"jsonrpc":"2.0","id":3,"method":"initialize","params":{}})", true, -32600},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Editor editor;
        if (r.initialized) {
            editor.start();
            editor.open(line_uri, small_line());
            editor.publish();
            editor.got.clear();
        }
        editor.send_raw(r.message);
        if (r.code == 0) {
            EXPECT_TRUE(editor.got.empty()) << editor.got.size();
            continue;
        }
        ASSERT_EQ(editor.got.size(), 1u);
        EXPECT_EQ(editor.got[0]["error"]["code"], r.code) << editor.got[0].dump();
    }
}

TEST(LspServer, ExitEndsWith0OnlyAfterShutdown)
{
    for (const bool shut_down : {true, false}) {
        SCOPED_TRACE(shut_down);
        Editor editor;
        editor.start();
        if (shut_down) {
            EXPECT_TRUE(editor.ask(1, "shutdown", nullptr)["result"].is_null());
            // After shutdown only exit counts.
            EXPECT_EQ(editor.ask(2, "textDocument/hover", at(line_uri, 0, 0))["error"]["code"], -32600);
        }
        editor.send({{"jsonrpc", "2.0"}, {"method", "exit"}});
        EXPECT_TRUE(editor.server().exited());
        EXPECT_EQ(editor.server().exit_status(), shut_down ? 0 : 1);
    }
}

} // namespace
} // namespace autore::lsp
