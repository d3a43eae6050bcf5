// The protocol side of `keltoc lsp`: JSON-RPC requests and notifications,
// the life cycle (initialize ... shutdown, exit) and the open documents.
#include "cli/lsp_server.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <istream>
#include <ostream>

#include "cli/lsp_transport.h"
#include "compiler/source_text.h"

namespace zr::cli {
namespace {

using nlohmann::json;

// JSON-RPC and LSP error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;

json ErrorResponse(const json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

// A whole number of the message (a line, a character, a version), clamped to
// what an int holds; anything else is a fault of the parameters.
int WholeNumber(const json& value) {
    if (!value.is_number_integer()) throw RequestError{kInvalidParams, "a whole number expected"};
    if (value.is_number_unsigned())
        return static_cast<int>(std::min<std::uint64_t>(value.get<std::uint64_t>(), INT_MAX));
    return static_cast<int>(std::clamp<std::int64_t>(value.get<std::int64_t>(), INT_MIN, INT_MAX));
}

language::LineCharacter LineCharacterOf(const json& position) {
    return {WholeNumber(position.at("line")), WholeNumber(position.at("character"))};
}

int VersionOf(const json& item, int otherwise) {
    return item.contains("version") ? WholeNumber(item["version"]) : otherwise;
}

}  // namespace

LanguageServer::LanguageServer(language::LibrarySearch search) : search_(std::move(search)) {}

std::vector<json> LanguageServer::Handle(const std::string& body) {
    std::vector<json> out;
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        out.push_back(ErrorResponse(nullptr, kParseError, "the message is not JSON"));
        return out;
    }
    const bool hasId = message.is_object() && message.contains("id");
    const json id = hasId ? message["id"] : json(nullptr);
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string() ||
        (hasId && !id.is_number_integer() && !id.is_string())) {
        // A response to something we never asked: nothing to say.
        if (message.is_object() && !message.contains("method") &&
            (message.contains("result") || message.contains("error")))
            return out;
        out.push_back(
            ErrorResponse(hasId && (id.is_number_integer() || id.is_string()) ? id : json(nullptr),
                          kInvalidRequest, "not a JSON-RPC request or notification"));
        return out;
    }
    const std::string method = message["method"];
    // "params" may be left out or null (shutdown and exit have none).
    const json params = message.contains("params") && !message["params"].is_null()
                            ? message["params"]
                            : json::object();

    if (method == "exit") {
        exited_ = true;
        return out;
    }
    try {
        if (!initialized_ && method != "initialize")
            throw RequestError{kServerNotInitialized, "initialize first"};
        if (shutDown_) throw RequestError{kInvalidRequest, "the server is shut down"};
        if (!params.is_object() && !params.is_array())
            throw RequestError{kInvalidParams, "params must be an object"};
        std::vector<json> notifications;
        json result = Dispatch(method, params, notifications);
        if (hasId) out.push_back({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
        for (auto& notification : notifications) out.push_back(std::move(notification));
    } catch (const RequestError& error) {
        if (hasId) out.push_back(ErrorResponse(id, error.code, error.message));
    } catch (const json::exception& error) {
        if (hasId) out.push_back(ErrorResponse(id, kInvalidParams, error.what()));
    } catch (const std::exception& error) {
        if (hasId) out.push_back(ErrorResponse(id, kInternalError, error.what()));
    }
    return out;
}

json LanguageServer::Dispatch(const std::string& method, const json& params,
                              std::vector<json>& notifications) {
    if (method == "initialize") return Initialize(params);
    if (method == "initialized") return nullptr;
    if (method == "shutdown") {
        shutDown_ = true;
        return nullptr;
    }
    if (method == "textDocument/didOpen")
        Open(params, notifications);
    else if (method == "textDocument/didChange")
        Change(params, notifications);
    else if (method == "textDocument/didClose")
        Close(params, notifications);
    else if (method == "textDocument/hover")
        return Hover(params);
    else if (method == "textDocument/completion")
        return Completion(params);
    else if (method == "textDocument/definition")
        return Definition(params);
    else if (method == "textDocument/references")
        return References(params);
    else if (method == "textDocument/documentSymbol")
        return DocumentSymbols(params);
    else if (method == "textDocument/rename")
        return Rename(params);
    else if (method == "textDocument/semanticTokens/full")
        return SemanticTokens(params);
    else
        throw RequestError{kMethodNotFound, "unknown method " + method};  // a notification: ignored
    return nullptr;
}

json LanguageServer::Initialize(const json& params) {
    if (initialized_) throw RequestError{kInvalidRequest, "initialize came twice"};
    initialized_ = true;
    // UTF-8 positions when the client offers them, else the protocol's UTF-16.
    const json encodings =
        params.value("/capabilities/general/positionEncodings"_json_pointer, json::array());
    if (encodings.is_array())
        for (const json& encoding : encodings)
            if (encoding == "utf-8") encoding_ = language::UnitEncoding::Utf8;
    return {
        {"capabilities",
         {{"positionEncoding", encoding_ == language::UnitEncoding::Utf8 ? "utf-8" : "utf-16"},
          {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
          {"hoverProvider", true},
          {"completionProvider", {{"triggerCharacters", {"@"}}}},
          {"definitionProvider", true},
          {"referencesProvider", true},
          {"documentSymbolProvider", true},
          {"renameProvider", true},
          {"semanticTokensProvider",
           {{"legend",
             {{"tokenTypes", {"keyword", "variable", "function", "number", "string", "comment"}},
              {"tokenModifiers", json::array()}}},
            {"full", true}}}}},
        {"serverInfo", {{"name", "keltoc"}, {"version", ZR_VERSION}}}};
}

void LanguageServer::Analyse(OpenDocument& document, std::string text) {
    language::LibrarySearch search = search_;
    const std::filesystem::path path = PathOfUri(document.uri);
    if (!path.empty()) search.sourceFolder = path.parent_path();
    const std::string compilerText = compiler::ToCompilerText(text);
    document.positions = language::TextPositions(std::move(text));
    document.analysis =
        std::make_shared<language::Analysis>(language::Analysis::Of(compilerText, search));
}

void LanguageServer::Open(const json& params, std::vector<json>& notifications) {
    const json& item = params.at("textDocument");
    OpenDocument document;
    document.uri = item.at("uri").get<std::string>();
    document.version = VersionOf(item, 0);
    Analyse(document, item.at("text").get<std::string>());
    auto& stored = documents_[document.uri] = std::move(document);
    notifications.push_back(Diagnostics(stored));
}

void LanguageServer::Change(const json& params, std::vector<json>& notifications) {
    const json& item = params.at("textDocument");
    const auto found = documents_.find(item.at("uri").get<std::string>());
    if (found == documents_.end()) throw RequestError{kInvalidParams, "the document is not open"};
    OpenDocument& document = found->second;
    std::string text = document.positions.text();
    for (const json& change : params.at("contentChanges")) {
        const std::string replacement = change.at("text").get<std::string>();
        if (!change.contains("range")) {
            text = replacement;
            continue;
        }
        const language::TextPositions positions(text);
        auto offsetOf = [&](const json& at) {
            return positions.Utf8OffsetOf(LineCharacterOf(at), encoding_);
        };
        std::size_t from = offsetOf(change.at("range").at("start"));
        std::size_t to = offsetOf(change.at("range").at("end"));
        if (to < from) std::swap(from, to);
        text.replace(from, to - from, replacement);
    }
    document.version = VersionOf(item, document.version);
    Analyse(document, std::move(text));
    notifications.push_back(Diagnostics(document));
}

void LanguageServer::Close(const json& params, std::vector<json>& notifications) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    documents_.erase(uri);
    notifications.push_back({{"jsonrpc", "2.0"},
                             {"method", "textDocument/publishDiagnostics"},
                             {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
}

const OpenDocument& LanguageServer::DocumentOf(const json& params) const {
    const auto found = documents_.find(params.at("textDocument").at("uri").get<std::string>());
    if (found == documents_.end()) throw RequestError{kInvalidParams, "the document is not open"};
    return found->second;
}

std::int32_t LanguageServer::PositionIn(const OpenDocument& document, const json& params) const {
    const json& at = params.at("position");
    return document.positions.CompilerPositionOf(LineCharacterOf(at), encoding_);
}

int RunLanguageServer(std::istream& in, std::ostream& out, const language::LibrarySearch& search) {
    LanguageServer server(search);
    while (!server.exited()) {
        const IncomingMessage message = ReadMessage(in);
        if (message.kind == IncomingMessage::Kind::End) break;
        std::vector<json> replies;
        if (message.kind == IncomingMessage::Kind::Malformed)
            replies.push_back(ErrorResponse(nullptr, kParseError, message.problem));
        else
            replies = server.Handle(message.body);
        for (const json& reply : replies)
            WriteMessage(out, reply.dump(-1, ' ', false, json::error_handler_t::replace));
        if (!out) return 2;
    }
    return server.exitCode();
}

}  // namespace zr::cli
