// `keltoc lsp`: a Language Server Protocol server over the language engine.
// Each open document is analysed on every change; answers come from that
// analysis. Positions are UTF-16 units unless the client offers UTF-8.
#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "language/analysis.h"
#include "language/text_positions.h"

namespace zr::cli {

// A request that cannot be answered, with its JSON-RPC error code.
struct RequestError {
    int code;
    std::string message;
};

// An open document and the analysis of its current text.
struct OpenDocument {
    std::string uri;
    int version = 0;
    language::TextPositions positions{""};
    std::shared_ptr<language::Analysis> analysis;
};

class LanguageServer {
  public:
    // `search`: the library folders; each document adds its own folder.
    explicit LanguageServer(language::LibrarySearch search);

    // Handles one message body and returns the messages to send back
    // (responses and notifications), in order. Never throws.
    std::vector<nlohmann::json> Handle(const std::string& body);

    bool exited() const { return exited_; }
    // 0 after shutdown then exit, 1 otherwise.
    int exitCode() const { return shutDown_ ? 0 : 1; }

  private:
    nlohmann::json Dispatch(const std::string& method, const nlohmann::json& params,
                            std::vector<nlohmann::json>& notifications);
    nlohmann::json Initialize(const nlohmann::json& params);
    void Open(const nlohmann::json& params, std::vector<nlohmann::json>& notifications);
    void Change(const nlohmann::json& params, std::vector<nlohmann::json>& notifications);
    void Close(const nlohmann::json& params, std::vector<nlohmann::json>& notifications);
    void Analyse(OpenDocument& document, std::string text);
    nlohmann::json Diagnostics(const OpenDocument& document) const;

    nlohmann::json Hover(const nlohmann::json& params) const;
    nlohmann::json Completion(const nlohmann::json& params) const;
    nlohmann::json Definition(const nlohmann::json& params) const;
    nlohmann::json References(const nlohmann::json& params) const;
    nlohmann::json DocumentSymbols(const nlohmann::json& params) const;
    nlohmann::json Rename(const nlohmann::json& params) const;
    nlohmann::json SemanticTokens(const nlohmann::json& params) const;

    const OpenDocument& DocumentOf(const nlohmann::json& params) const;
    std::int32_t PositionIn(const OpenDocument& document, const nlohmann::json& params) const;
    // An LSP Location of a span of the document's analysis (main text or library).
    nlohmann::json LocationOf(const OpenDocument& document, const language::Span& span) const;
    nlohmann::json RangeOf(const language::TextPositions& positions,
                           const language::Span& span) const;
    language::TextPositions PositionsOf(const OpenDocument& document, int sourceIndex) const;

    language::LibrarySearch search_;
    language::UnitEncoding encoding_ = language::UnitEncoding::Utf16;
    std::map<std::string, OpenDocument> documents_;
    bool initialized_ = false;
    bool shutDown_ = false;
    bool exited_ = false;
};

// Serves the protocol on `in` / `out` until exit or the end of the input;
// returns the exit code.
int RunLanguageServer(std::istream& in, std::ostream& out, const language::LibrarySearch& search);

// file:// URIs and paths.
std::string PathOfUri(const std::string& uri);  // empty when not a file URI
std::string UriOfPath(const std::filesystem::path& path);

}  // namespace zr::cli
