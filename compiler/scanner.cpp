#include "compiler/scanner.h"

#include "machine/numbers.h"

namespace zr::compiler {
namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t';
}

bool IsSeparator(char c) {
    switch (c) {
        case '(':
        case ')':
        case '*':
        case '/':
        case '^':
        case ',':
        case '[':
        case ']':
        case ';':
        case '{':
        case '}':
        case '\r':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string ScanToken(std::string_view source, std::int32_t& position, bool& stringLiteral) {
    stringLiteral = false;
    if (position < 1) position = 1;
    const auto length = static_cast<std::int64_t>(source.size());
    // The character at a 1-based position, or 0 past the end.
    auto at = [&](std::int64_t p) { return p >= 1 && p <= length ? source[p - 1] : '\0'; };

    std::string word;
    bool hasExponent = false;
    while (position <= length) {
        const char c = at(position);
        const char next = at(position + 1);

        if (c == '"') {
            if (!word.empty()) return word;
            const auto close = source.find('"', position);  // index after the opening quote
            const auto end = close == std::string_view::npos ? source.size() : close;
            std::string text(source.substr(position, end - position));
            position = static_cast<std::int32_t>(end + 2);
            if (position > length + 1) position = static_cast<std::int32_t>(length + 1);
            stringLiteral = true;
            return text;
        }
        if (IsWhiteSpace(c)) {
            ++position;
            if (!word.empty()) return word;
            continue;
        }
        if (IsSeparator(c)) {
            if (!word.empty()) return word;
            ++position;
            return std::string(1, c);
        }
        if (c == '-' || c == '+') {
            // A sign ends a pending word, except as the sign of its exponent.
            if (!word.empty() && !hasExponent) return word;
            if (next == '\r' || next == '(' || next == ' ' || next == '\t') {
                if (!word.empty()) return word;  // keep a cut-off exponent rather than lose it
                ++position;
                return std::string(1, c);
            }
            word += c;
            ++position;
            continue;
        }
        if ((c == 'E' || c == 'e') && machine::IsNumericText(word)) {
            if ((next >= '1' && next <= '9') || next == '+' || next == '-') {
                word += 'E';
                hasExponent = true;
                ++position;
                continue;
            }
            return word;  // the e starts a new word
        }
        if (c == '.') {
            if (next == '\r' || next == ' ' || next == '\t') {
                if (!word.empty()) return word;
                ++position;
                return ".";
            }
            word += c;
            ++position;
            continue;
        }
        if (c == '\'') {
            if (!word.empty()) return word;
            const auto cr = source.find('\r', position);
            position =
                static_cast<std::int32_t>(cr == std::string_view::npos ? length + 1 : cr + 2);
            return "\r";
        }
        word += c;
        ++position;
    }
    return word;
}

}  // namespace zr::compiler
