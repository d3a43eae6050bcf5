// The words of one line as the compiler's scanner reads them, with their
// places, for colouring, hover and completion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr::language {

enum class TokenKind : std::uint8_t { Word, QuotedText, Comment };

struct Token {
    TokenKind kind = TokenKind::Word;
    std::string text;         // Windows-1251; a quoted text without its quotes
    std::int32_t start = 0;   // 1-based compiler position of its first character
    std::int32_t length = 0;  // in characters, quotes and the comment mark included
    std::int32_t end() const { return start + length; }
};

// The 1-based positions [first, end) of the line holding `position` (its
// line end excluded).
struct LineRange {
    std::int32_t first = 1;
    std::int32_t end = 1;
};
LineRange LineAround(std::string_view compilerText, std::int32_t position);

// The tokens of the line [first, end) of a compiler text. A quoted text ends
// at the line end when its closing quote is missing, as the editor colours it;
// "^" followed by "2" or "X" is one word, as the compiler joins them.
std::vector<Token> LineTokens(std::string_view compilerText, LineRange line);

// The token holding `position` or ending just before it (a caret right after
// a word is on that word); nullptr when there is none.
const Token* TokenAt(const std::vector<Token>& tokens, std::int32_t position);

}  // namespace zr::language
