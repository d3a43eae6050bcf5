#include "language/text_positions.h"

#include <algorithm>

#include "machine/utf8.h"

namespace zr::language {
namespace {

// Units one code point takes.
int UnitsOf(char32_t codePoint, UnitEncoding encoding, std::size_t bytes) {
    if (encoding == UnitEncoding::Utf8) return static_cast<int>(bytes);
    return codePoint > 0xFFFF ? 2 : 1;
}

}  // namespace

TextPositions::TextPositions(std::string utf8Text) : text_(std::move(utf8Text)) {
    lineStarts_.push_back(0);
    compilerLineStarts_.push_back(1);
    std::int32_t compilerPosition = 1;
    std::size_t i = 0;
    while (i < text_.size()) {
        const char c = text_[i];
        if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ? 2 : 1;
            compilerPosition += 2;  // CR LF in the compiler text
            lineStarts_.push_back(i);
            compilerLineStarts_.push_back(compilerPosition);
        } else {
            machine::NextCodePoint(text_, i);
            ++compilerPosition;
        }
    }
}

std::string_view TextPositions::Line(int line) const {
    const std::size_t start = lineStarts_[line];
    std::size_t end = line + 1 < lineCount() ? lineStarts_[line + 1] : text_.size();
    while (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
    return std::string_view(text_).substr(start, end - start);
}

LineCharacter TextPositions::LineCharacterOf(std::int32_t compilerPosition,
                                             UnitEncoding encoding) const {
    const auto after = std::upper_bound(compilerLineStarts_.begin(), compilerLineStarts_.end(),
                                        std::max(compilerPosition, 1));
    const int line = static_cast<int>(after - compilerLineStarts_.begin()) - 1;
    const std::string_view text = Line(line);
    int characters = compilerPosition - compilerLineStarts_[line];
    int units = 0;
    for (std::size_t i = 0; i < text.size() && characters > 0; --characters) {
        const std::size_t before = i;
        const char32_t codePoint = machine::NextCodePoint(text, i);
        units += UnitsOf(codePoint, encoding, i - before);
    }
    return {line, units};
}

std::size_t TextPositions::Utf8OffsetOf(LineCharacter at, UnitEncoding encoding) const {
    if (at.line < 0) return 0;
    if (at.line >= lineCount()) return text_.size();
    const std::string_view text = Line(at.line);
    std::size_t i = 0;
    int units = 0;
    while (i < text.size() && units < at.character) {
        const std::size_t before = i;
        const char32_t codePoint = machine::NextCodePoint(text, i);
        units += UnitsOf(codePoint, encoding, i - before);
    }
    return lineStarts_[at.line] + i;
}

std::int32_t TextPositions::CompilerPositionOf(LineCharacter at, UnitEncoding encoding) const {
    if (at.line < 0) return 1;
    if (at.line >= lineCount()) {
        const int last = lineCount() - 1;
        return compilerLineStarts_[last] +
               machine::CodePointCount(Line(last));  // malformed bytes count one each
    }
    const std::string_view text = Line(at.line);
    std::size_t i = 0;
    int units = 0;
    std::int32_t characters = 0;
    while (i < text.size() && units < at.character) {
        const std::size_t before = i;
        const char32_t codePoint = machine::NextCodePoint(text, i);
        units += UnitsOf(codePoint, encoding, i - before);
        ++characters;
    }
    return compilerLineStarts_[at.line] + characters;
}

}  // namespace zr::language
