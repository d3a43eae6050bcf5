// A scripted LSP client for the server tests: messages framed into a stream,
// the server run over it, the answers parsed back.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/lsp_server.h"
#include "cli/lsp_transport.h"

namespace zr::cli::testing {

using nlohmann::json;

class LspScript {
  public:
    // Adds a request (with an id) or a notification (id < 0).
    LspScript& Send(const std::string& method, const json& params, int id = -1) {
        json message = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
        if (id >= 0) message["id"] = id;
        return Raw(message.dump());
    }
    LspScript& Raw(const std::string& body) {
        std::ostringstream framed;
        WriteMessage(framed, body);
        input_ += framed.str();
        return *this;
    }
    LspScript& Bytes(const std::string& bytes) {
        input_ += bytes;
        return *this;
    }
    LspScript& Initialize(const json& capabilities = json::object()) {
        Send("initialize", {{"capabilities", capabilities}}, 0);
        return Send("initialized", json::object());
    }
    LspScript& Open(const std::string& uri, const std::string& text) {
        return Send("textDocument/didOpen",
                    {{"textDocument",
                      {{"uri", uri}, {"languageId", "kelto"}, {"version", 1}, {"text", text}}}});
    }

    // Runs the server over everything sent; the answers, in order.
    std::vector<json> Run(const language::LibrarySearch& search = {}) {
        std::istringstream in(input_);
        std::ostringstream out;
        exitCode = RunLanguageServer(in, out, search);
        std::istringstream replies(out.str());
        std::vector<json> answers;
        for (auto message = ReadMessage(replies); message.kind == IncomingMessage::Kind::Message;
             message = ReadMessage(replies))
            answers.push_back(json::parse(message.body));
        return answers;
    }
    int exitCode = -1;

  private:
    std::string input_;
};

// The answer to request `id`, or null.
inline json ResponseTo(const std::vector<json>& answers, int id) {
    for (const json& answer : answers)
        if (answer.contains("id") && answer["id"] == id) return answer;
    ADD_FAILURE() << "no answer to request " << id;
    return nullptr;
}

// The last diagnostics published for `uri`.
inline json LastDiagnostics(const std::vector<json>& answers, const std::string& uri) {
    json last = nullptr;
    for (const json& answer : answers)
        if (answer.value("method", "") == "textDocument/publishDiagnostics" &&
            answer["params"]["uri"] == uri)
            last = answer["params"]["diagnostics"];
    return last;
}

inline json At(int line, int character) {
    return {{"line", line}, {"character", character}};
}

inline json Range(int line, int from, int to) {
    return {{"start", At(line, from)}, {"end", At(line, to)}};
}

}  // namespace zr::cli::testing
