// keltoc lsp, driven through streams as an editor drives it.
#include <gtest/gtest.h>

#include "keltoc_fixture.h"
#include "lsp_client.h"

namespace zr::cli {
namespace {

using testing::At;
using testing::json;
using testing::LastDiagnostics;
using testing::LspScript;
using testing::Range;
using testing::ResponseTo;

const std::string kUri = "file:///tmp/kelto%20lsp/main.kel";
// Two characters beyond the basic plane before the failing statement:
// "GoTo" starts at UTF-16 unit 9, UTF-8 byte 13, compiler column 8.
const std::string kEmojiLine = "? \"\xF0\x9F\x98\x80\xF0\x9F\x98\x80\" GoTo Nowhere\n";

json Doc(const std::string& uri = kUri) {
    return {{"textDocument", {{"uri", uri}}}};
}

json DocAt(int line, int character) {
    json params = Doc();
    params["position"] = At(line, character);
    return params;
}

TEST(LspServerTest, LifeCycle) {
    LspScript script;
    script
        .Send("textDocument/hover", DocAt(0, 0), 7)  // before initialize
        .Initialize()
        .Send("initialize", {{"capabilities", json::object()}}, 8)  // twice
        .Send("shutdown", nullptr, 9)
        .Send("textDocument/hover", DocAt(0, 0), 10)  // after shutdown
        .Send("exit", nullptr)
        .Send("shutdown", nullptr, 11);  // never read
    const auto answers = script.Run();
    EXPECT_EQ(ResponseTo(answers, 7)["error"]["code"], -32002);
    const json capabilities = ResponseTo(answers, 0)["result"]["capabilities"];
    EXPECT_EQ(capabilities["positionEncoding"], "utf-16");
    EXPECT_EQ(capabilities["textDocumentSync"]["change"], 2);
    for (const char* provider :
         {"hoverProvider", "completionProvider", "definitionProvider", "referencesProvider",
          "documentSymbolProvider", "renameProvider", "semanticTokensProvider"})
        EXPECT_TRUE(capabilities.contains(provider)) << provider;
    EXPECT_EQ(ResponseTo(answers, 8)["error"]["code"], -32600);
    EXPECT_TRUE(ResponseTo(answers, 9)["result"].is_null());
    EXPECT_EQ(ResponseTo(answers, 10)["error"]["code"], -32600);
    EXPECT_EQ(answers.size(), 5u);
    EXPECT_EQ(script.exitCode, 0);

    LspScript abrupt;
    abrupt.Initialize().Send("exit", nullptr);
    abrupt.Run();
    EXPECT_EQ(abrupt.exitCode, 1);  // exit without shutdown
}

// The diagnostic lands on the failing statement in the units the client chose.
TEST(LspServerTest, DiagnosticsCountUtf16OrUtf8AsNegotiated) {
    for (const bool utf8 : {false, true}) {
        SCOPED_TRACE(utf8 ? "utf-8" : "utf-16");
        LspScript script;
        script.Initialize(utf8 ? json{{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}}
                               : json::object());
        script.Open(kUri, "DimS a\n" + kEmojiLine);
        const auto answers = script.Run();
        EXPECT_EQ(ResponseTo(answers, 0)["result"]["capabilities"]["positionEncoding"],
                  utf8 ? "utf-8" : "utf-16");
        const json diagnostics = LastDiagnostics(answers, kUri);
        ASSERT_EQ(diagnostics.size(), 1u);
        EXPECT_EQ(diagnostics[0]["message"], "Label not found!");
        EXPECT_EQ(diagnostics[0]["range"], utf8 ? Range(1, 13, 25) : Range(1, 9, 21));
    }
}

TEST(LspServerTest, IncrementalAndFullChangesReanalyse) {
    LspScript script;
    script.Initialize().Open(kUri, kEmojiLine + "End\n");
    // Replace "Nowhere" (units 14..21) by "Done", add the label, then take
    // the whole text back to one with an error on its second line.
    script.Send("textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                                           {"contentChanges",
                                            {{{"range", Range(0, 14, 21)}, {"text", "Done"}},
                                             {{"range", Range(1, 0, 0)}, {"text", "Done: "}}}}});
    script.Send("textDocument/hover", DocAt(1, 8), 1);  // "End" after "Done: "
    script.Send("textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", 3}}},
                                           {"contentChanges", {{{"text", "1\n  Then\n"}}}}});
    script.Send("textDocument/didClose", Doc());
    const auto answers = script.Run();

    std::vector<json> published;
    for (const json& answer : answers)
        if (answer.value("method", "") == "textDocument/publishDiagnostics")
            published.push_back(answer["params"]);
    ASSERT_EQ(published.size(), 4u);
    EXPECT_EQ(published[0]["diagnostics"].size(), 1u);
    EXPECT_EQ(published[1]["diagnostics"], json::array());
    EXPECT_EQ(published[1]["version"], 2);
    EXPECT_EQ(published[2]["diagnostics"][0]["message"], "THEN без IF!");
    EXPECT_EQ(published[2]["diagnostics"][0]["range"], Range(1, 2, 6));
    EXPECT_EQ(published[3]["diagnostics"], json::array());  // closed
    EXPECT_EQ(ResponseTo(answers, 1)["result"]["range"], Range(1, 6, 9));
}

class LspFeaturesTest : public KeltocTest {};

TEST_F(LspFeaturesTest, AnswersEveryQueryFromTheAnalysis) {
    Write("tools.bib", "' tools\nTwice: 2 *\nRet\n");
    const std::string uri = UriOfPath(folder_ / "main.kel");
    const std::string source =
        "$Lib tools\nDimS speed\nspeed Call Twice\n"
        "Top: speed -> speed\nGoTo @Top\n";
    LspScript script;
    script.Initialize().Open(uri, source);
    auto at = [&](int line, int character) {
        return json{{"textDocument", {{"uri", uri}}}, {"position", At(line, character)}};
    };
    script.Send("textDocument/hover", at(2, 1), 1);
    script.Send("textDocument/hover", at(2, 7), 2);  // Call
    script.Send("textDocument/definition", at(2, 12), 3);
    json references = at(1, 6);
    references["context"] = {{"includeDeclaration", true}};
    script.Send("textDocument/references", references, 4);
    script.Send("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}, 5);
    json rename = at(3, 7);
    rename["newName"] = "rate";
    script.Send("textDocument/rename", rename, 6);
    rename["newName"] = "Twice";
    script.Send("textDocument/rename", rename, 7);
    script.Send("textDocument/semanticTokens/full", {{"textDocument", {{"uri", uri}}}}, 8);
    script.Send("textDocument/completion", at(4, 7), 9);
    script.Send("textDocument/definition", at(2, 7), 10);  // a keyword: nothing
    const auto answers = script.Run({folder_, {}, {}});

    EXPECT_EQ(LastDiagnostics(answers, uri), json::array());
    EXPECT_EQ(ResponseTo(answers, 1)["result"]["contents"]["value"],
              "speed: переменная Single, адрес 1, размер 1\nобъявлено: строка 2");
    EXPECT_EQ(ResponseTo(answers, 1)["result"]["range"], Range(2, 0, 5));
    EXPECT_EQ(ResponseTo(answers, 2)["result"]["contents"]["value"],
              "Call — слово языка\nCall Label");

    const json definition = ResponseTo(answers, 3)["result"];
    EXPECT_EQ(definition["uri"], UriOfPath(folder_ / "tools.bib"));
    EXPECT_EQ(definition["range"], Range(1, 0, 5));

    const json uses = ResponseTo(answers, 4)["result"];
    ASSERT_EQ(uses.size(), 4u);
    EXPECT_EQ(uses[0]["range"], Range(1, 5, 10));  // the declaration first
    EXPECT_EQ(uses[3]["range"], Range(3, 14, 19));

    const json symbols = ResponseTo(answers, 5)["result"];
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0]["name"], "speed");
    EXPECT_EQ(symbols[0]["kind"], 13);
    EXPECT_EQ(symbols[1]["name"], "Top");
    EXPECT_EQ(symbols[1]["kind"], 12);
    EXPECT_EQ(symbols[1]["range"], Range(3, 0, 3));

    const json edits = ResponseTo(answers, 6)["result"]["changes"][uri];
    ASSERT_EQ(edits.size(), 4u);
    EXPECT_EQ(edits[0]["newText"], "rate");
    EXPECT_EQ(ResponseTo(answers, 7)["error"]["code"], -32803);
    EXPECT_EQ(ResponseTo(answers, 7)["error"]["message"], "Имя уже объявлено!");

    // Line 0: "$Lib" keyword (0..4); line 1: "DimS" keyword, "speed" variable.
    const json data = ResponseTo(answers, 8)["result"]["data"];
    ASSERT_GE(data.size(), 15u);
    EXPECT_EQ(json(std::vector<json>(data.begin(), data.begin() + 15)),
              json({0, 0, 4, 0, 0, 1, 0, 4, 0, 0, 0, 5, 5, 1, 0}));

    const json items = ResponseTo(answers, 9)["result"]["items"];
    ASSERT_EQ(items.size(), 2u);  // after "GoTo @T": the labels, the library's too
    EXPECT_EQ(items[0]["label"], "Top");
    EXPECT_EQ(items[0]["kind"], 3);
    EXPECT_EQ(items[0]["textEdit"]["range"], Range(4, 6, 7));
    EXPECT_EQ(items[1]["label"], "Twice");
    EXPECT_TRUE(ResponseTo(answers, 10)["result"].is_null());
}

// The error inside a library is shown on its $Lib line and points into the file.
TEST_F(LspFeaturesTest, LibraryErrorSitsOnItsLibStatement) {
    Write("broken.bib", "Half: 2 /\nGoTo Missing\n");
    const std::string uri = UriOfPath(folder_ / "main.kel");
    LspScript script;
    script.Initialize().Open(uri, "1\n$Lib broken\n");
    const json diagnostics = LastDiagnostics(script.Run({folder_, {}, {}}), uri);
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0]["message"],
              "Label not found!\nОшибка при подключении библиотеки broken");
    EXPECT_EQ(diagnostics[0]["range"], Range(1, 0, 11));
    const json related = diagnostics[0]["relatedInformation"][0]["location"];
    EXPECT_EQ(related["uri"], UriOfPath(folder_ / "broken.bib"));
    EXPECT_EQ(related["range"], Range(1, 0, 12));
}

TEST(LspServerTest, MalformedMessagesGetErrorsAndTheServerGoesOn) {
    LspScript script;
    script.Initialize()
        .Open(kUri, "End\n")
        .Raw("{not json")
        .Raw("[1, 2]")
        .Raw(R"({"jsonrpc": "2.0", "id": {"x": 1}, "method": "shutdown"})")
        .Bytes("Content-Type: text/plain\r\n\r\n")             // no length
        .Bytes("Content-Length: twelve\r\n\r\n")               // not a number
        .Bytes("Content-Length: 99999999999\r\n\r\n")          // too long
        .Send("textDocument/hover", {{"textDocument", 5}}, 1)  // bad params
        .Send("textDocument/hover",
              {{"textDocument", {{"uri", "file:///elsewhere.kel"}}}, {"position", At(0, 0)}},
              2)  // not open
        .Send(
            "textDocument/hover",
            {{"textDocument", {{"uri", kUri}}}, {"position", {{"line", 1e300}, {"character", 0}}}},
            12)
        .Send("textDocument/formatting", Doc(), 3)              // unknown method
        .Send("$/cancelRequest", {{"id", 1}})                   // unknown notification
        .Raw(R"({"jsonrpc": "2.0", "id": 4, "result": null})")  // a response to us
        .Send("shutdown", nullptr, 5)
        .Bytes("Content-Length: 500\r\n\r\n{\"jsonrpc\"");  // cut off
    const auto answers = script.Run();
    std::vector<int> codes;
    for (const json& answer : answers)
        if (answer.contains("error")) codes.push_back(answer["error"]["code"]);
    EXPECT_EQ(codes, (std::vector<int>{-32700, -32600, -32600, -32700, -32700, -32700, -32602,
                                       -32602, -32602, -32601}));
    EXPECT_TRUE(ResponseTo(answers, 5)["result"].is_null());
    EXPECT_EQ(script.exitCode, 0);  // the input ended after shutdown
}

TEST(LspTransportTest, ReadsHeadersLeniently) {
    std::istringstream in(
        "\r\ncontent-length: 2\ncontent-type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
        "Content-Length:  3 \r\n\r\n[1]");
    auto first = ReadMessage(in);
    EXPECT_EQ(first.kind, IncomingMessage::Kind::Message);
    EXPECT_EQ(first.body, "{}");
    EXPECT_EQ(ReadMessage(in).body, "[1]");
    EXPECT_EQ(ReadMessage(in).kind, IncomingMessage::Kind::End);
}

TEST(LspUriTest, PathsAndUrisRoundTrip) {
    EXPECT_EQ(PathOfUri("file:///home/u/my%20prog/%D1%8F.kel"), "/home/u/my prog/я.kel");
    EXPECT_EQ(UriOfPath("/home/u/my prog/я.kel"), "file:///home/u/my%20prog/%D1%8F.kel");
    EXPECT_EQ(PathOfUri("file://localhost/a.kel"), "/a.kel");
    EXPECT_EQ(PathOfUri("file://elsewhere/a.kel"), "");
    EXPECT_EQ(PathOfUri("untitled:Untitled-1"), "");
    EXPECT_EQ(PathOfUri("file:///a%00b"), "");
}

}  // namespace
}  // namespace zr::cli
