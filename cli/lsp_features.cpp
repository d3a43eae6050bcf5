// The answers of `keltoc lsp`: diagnostics, hover, completion, definition,
// references, symbols, rename and semantic tokens, each from the document's
// analysis, with positions in the client's units.
#include "cli/lsp_server.h"
#include "compiler/source_text.h"
#include "language/colouring.h"
#include "language/completion.h"
#include "language/hover.h"
#include "language/rename.h"
#include "machine/byte_order_mark.h"
#include "machine/cp1251.h"
#include "machine/file_read.h"
#include "machine/utf8.h"

namespace zr::cli {
namespace {

using language::DeclarationKind;
using language::Span;
using nlohmann::json;

constexpr int kRequestFailed = -32803;

// LSP kinds of completion items and symbols.
int CompletionKind(language::CandidateKind kind) {
    switch (kind) {
        case language::CandidateKind::Keyword:
            return 14;
        case language::CandidateKind::Name:
            return 6;  // Variable
        case language::CandidateKind::Label:
            return 3;  // Function
        case language::CandidateKind::Library:
            return 9;  // Module
    }
    return 1;
}

int SymbolKind(DeclarationKind kind) {
    switch (kind) {
        case DeclarationKind::Array:
            return 18;
        case DeclarationKind::DataList:
            return 14;  // Constant
        case DeclarationKind::Label:
        case DeclarationKind::Routine:
            return 12;  // Function
        default:
            return 13;  // Variable
    }
}

// A library's text as an editor shows the file: UTF-8 as it stands, other
// bytes as Windows-1251, as the compiler read it.
std::string LibraryFileText(const std::filesystem::path& path) {
    auto read = machine::ReadRegularFile(path, machine::kMaxTextFileSize);
    if (!read.ok()) return {};
    std::string text = machine::WithoutByteOrderMark(read.bytes);
    return machine::IsValidUtf8(text) ? text : machine::Cp1251ToUtf8(text);
}

json Position(language::LineCharacter at) {
    return {{"line", at.line}, {"character", at.character}};
}

}  // namespace

language::TextPositions LanguageServer::PositionsOf(const OpenDocument& document,
                                                    int sourceIndex) const {
    if (sourceIndex == 0) return document.positions;
    return language::TextPositions(LibraryFileText(document.analysis->PathOf(sourceIndex)));
}

json LanguageServer::RangeOf(const language::TextPositions& positions, const Span& span) const {
    return {{"start", Position(positions.LineCharacterOf(span.start, encoding_))},
            {"end", Position(positions.LineCharacterOf(span.end(), encoding_))}};
}

json LanguageServer::LocationOf(const OpenDocument& document, const Span& span) const {
    const std::string uri = span.sourceIndex == 0
                                ? document.uri
                                : UriOfPath(document.analysis->PathOf(span.sourceIndex));
    return {{"uri", uri}, {"range", RangeOf(PositionsOf(document, span.sourceIndex), span)}};
}

json LanguageServer::Diagnostics(const OpenDocument& document) const {
    json diagnostics = json::array();
    if (const auto& error = document.analysis->error) {
        // Every message F9 would show, in order.
        std::string message = error->message;
        for (const auto& later : error->laterMessages) message += "\n" + later;
        json diagnostic = {{"severity", 1}, {"source", "keltoc"}, {"message", message}};
        if (error->span.sourceIndex == 0) {
            diagnostic["range"] = RangeOf(document.positions, error->span);
        } else {
            const Span place = error->libraryStatement.value_or(Span{0, 1, 0});
            diagnostic["range"] = RangeOf(document.positions, place);
            diagnostic["relatedInformation"] = json::array(
                {{{"location", LocationOf(document, error->span)}, {"message", error->message}}});
        }
        diagnostics.push_back(std::move(diagnostic));
    }
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/publishDiagnostics"},
            {"params",
             {{"uri", document.uri}, {"version", document.version}, {"diagnostics", diagnostics}}}};
}

json LanguageServer::Hover(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    const auto hover = language::HoverAt(*document.analysis, 0, PositionIn(document, params));
    if (!hover) return nullptr;
    return {{"contents", {{"kind", "plaintext"}, {"value", hover->text}}},
            {"range", RangeOf(document.positions, hover->span)}};
}

json LanguageServer::Completion(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    const std::int32_t position = PositionIn(document, params);
    const auto completion = language::CompletionAt(*document.analysis, position);
    const json range =
        RangeOf(document.positions, {0, completion.replaceFrom, position - completion.replaceFrom});
    json items = json::array();
    for (const auto& candidate : completion.candidates)
        items.push_back({{"label", candidate.text},
                         {"kind", CompletionKind(candidate.kind)},
                         {"detail", candidate.detail},
                         {"textEdit", {{"range", range}, {"newText", candidate.text}}}});
    return {{"isIncomplete", false}, {"items", items}};
}

json LanguageServer::Definition(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    const auto found = document.analysis->DeclarationAt(0, PositionIn(document, params));
    if (!found) return nullptr;
    const auto& span = document.analysis->declarations[*found].span;
    if (!span) return nullptr;  // predeclared
    return LocationOf(document, *span);
}

json LanguageServer::References(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    const auto found = document.analysis->DeclarationAt(0, PositionIn(document, params));
    json locations = json::array();
    if (!found) return locations;
    const auto& span = document.analysis->declarations[*found].span;
    const bool withDeclaration =
        params.value("/context/includeDeclaration"_json_pointer, json(false)) == true;
    if (span && withDeclaration) locations.push_back(LocationOf(document, *span));
    for (const Span& use : document.analysis->ReferencesTo(*found))
        locations.push_back(LocationOf(document, use));
    return locations;
}

json LanguageServer::DocumentSymbols(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    json symbols = json::array();
    for (const auto& declaration : document.analysis->declarations) {
        if (!declaration.span || declaration.span->sourceIndex != 0) continue;
        const json range = RangeOf(document.positions, *declaration.span);
        symbols.push_back({{"name", declaration.name},
                           {"detail", language::KindText(declaration)},
                           {"kind", SymbolKind(declaration.kind)},
                           {"range", range},
                           {"selectionRange", range}});
    }
    return symbols;
}

json LanguageServer::Rename(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    const std::string newName = params.at("newName").get<std::string>();
    const auto plan =
        language::PlanRename(*document.analysis, PositionIn(document, params), newName);
    if (!plan.ok()) {
        // A failed request, with the message the user is to see.
        throw RequestError{kRequestFailed, plan.refusal};
    }
    json edits = json::array();
    for (const Span& span : plan.edits)
        edits.push_back({{"range", RangeOf(document.positions, span)}, {"newText", newName}});
    return {{"changes", {{document.uri, edits}}}};
}

json LanguageServer::SemanticTokens(const json& params) const {
    const OpenDocument& document = DocumentOf(params);
    json data = json::array();
    language::LineCharacter previous;
    for (const auto& word : language::ClassifyText(*document.analysis, 0)) {
        const auto start = document.positions.LineCharacterOf(word.span.start, encoding_);
        const auto end = document.positions.LineCharacterOf(word.span.end(), encoding_);
        if (end.line != start.line || end.character <= start.character) continue;
        data.push_back(start.line - previous.line);
        data.push_back(start.line == previous.line ? start.character - previous.character
                                                   : start.character);
        data.push_back(end.character - start.character);
        data.push_back(static_cast<int>(word.wordClass));
        data.push_back(0);
        previous = start;
    }
    return {{"data", data}};
}

}  // namespace zr::cli
