#include "language/tokens.h"

#include <algorithm>

#include "compiler/scanner.h"
#include "machine/cp1251.h"

namespace zr::language {

LineRange LineAround(std::string_view text, std::int32_t position) {
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t first = std::clamp<std::int32_t>(position, 1, size + 1);
    // A position on the CR LF itself belongs to the line it ends.
    while (first > 1 && text[first - 2] != '\n') --first;
    std::int32_t end = first;
    while (end <= size && text[end - 1] != '\r' && text[end - 1] != '\n') ++end;
    return {first, end};
}

std::vector<Token> LineTokens(std::string_view text, LineRange line) {
    std::vector<Token> tokens;
    if (line.end <= line.first) return tokens;
    // The scanner reads a view of the line alone, so nothing runs past its end.
    const std::string_view view = text.substr(line.first - 1, line.end - line.first);
    const auto length = static_cast<std::int32_t>(view.size());
    std::int32_t position = 1;
    while (position <= length) {
        std::int32_t start = position;
        while (start <= length &&
               (view[start - 1] == ' ' || view[start - 1] == '\t' || view[start - 1] == '\n'))
            ++start;
        if (start > length) break;
        bool quoted = false;
        std::string word = compiler::ScanToken(view, position, quoted);
        Token token;
        token.start = line.first + start - 1;
        if (quoted) {
            token.kind = TokenKind::QuotedText;
            token.length = position - start;
        } else if (view[start - 1] == '\'') {
            token.kind = TokenKind::Comment;
            token.length = length - start + 1;
            position = length + 1;
        } else if (word.empty()) {
            break;
        } else {
            token.length = static_cast<std::int32_t>(word.size());
        }
        token.text = std::move(word);
        // "^2" and "^X" reach the scanner as "^" and a word.
        if (!tokens.empty() && tokens.back().kind == TokenKind::Word && tokens.back().text == "^" &&
            token.kind == TokenKind::Word && tokens.back().end() == token.start) {
            const std::string lower = machine::LowerCase(token.text);
            if (lower == "2" || lower == "x") {
                tokens.back().text += token.text;
                tokens.back().length += token.length;
                continue;
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

const Token* TokenAt(const std::vector<Token>& tokens, std::int32_t position) {
    const Token* found = nullptr;
    for (const Token& token : tokens) {
        if (token.start <= position && position < token.end()) return &token;
        if (token.end() == position) found = &token;
    }
    return found;
}

}  // namespace zr::language
