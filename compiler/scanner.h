// Kelto source is one stream of words; ScanToken is its only reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr::compiler {

// Reads the next token from `source` starting at the 1-based `position` and
// leaves `position` at the first character not consumed. A token is a word, a
// separator ( ) * / ^ , [ ] ; { } by itself, a sign or a decimal point by
// itself, the text between quotes (then `stringLiteral` is set), or "\r" for a
// line end (a comment ends its line the same way). The empty string comes back
// at the end of the text and for an empty quoted string. Never fails.
//
// Words: letters, digits and = < > : @ # $ \ and every other character run
// together, so "<=0", "->", "$adres", "a=5", "label:" and "x#" are one word
// each. A sign joins the word it starts (-5, x then -1 for x-1) unless a space,
// "(" or a line end follows it; a number takes an exponent only when E is
// followed by 1..9, + or - (normalised to an upper-case E).
std::string ScanToken(std::string_view source, std::int32_t& position, bool& stringLiteral);

}  // namespace zr::compiler
