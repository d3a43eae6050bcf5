#include "compiler/source_text.h"

#include <algorithm>

#include "machine/byte_order_mark.h"
#include "machine/cp1251.h"
#include "machine/utf8.h"

namespace zr::compiler {

namespace {

std::string WithCrLfLineEnds(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

std::string ToCompilerText(std::string_view utf8) {
    return machine::Utf8ToCp1251(WithCrLfLineEnds(utf8));
}

std::string PlainBytesToCompilerText(std::string_view bytes) {
    const std::string text = machine::WithoutByteOrderMark(bytes);
    return machine::IsValidUtf8(text) ? ToCompilerText(text) : WithCrLfLineEnds(text);
}

LineColumn LineColumnOf(std::string_view text, std::int32_t position) {
    LineColumn at;
    const auto end = std::clamp<std::int64_t>(position - 1, 0, text.size());
    for (std::int64_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++at.line;
            at.column = 1;
        } else if (text[i] != '\r') {
            ++at.column;
        }
    }
    return at;
}

std::int32_t SkipBlanks(std::string_view text, std::int32_t position) {
    auto i = std::max<std::int64_t>(position, 1);
    while (i <= static_cast<std::int64_t>(text.size())) {
        const char c = text[i - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
        ++i;
    }
    return static_cast<std::int32_t>(i);
}

std::int32_t EditorOffsetOf(std::string_view text, std::int32_t position) {
    const auto end = std::clamp<std::int64_t>(position - 1, 0, text.size());
    std::int32_t offset = 0;
    for (std::int64_t i = 0; i < end; ++i)
        if (!(text[i] == '\r' && i + 1 < static_cast<std::int64_t>(text.size()) &&
              text[i + 1] == '\n'))
            ++offset;
    return offset;
}

std::int32_t CompilerPositionOf(std::string_view text, std::int32_t editorOffset) {
    std::int64_t i = 0;
    for (std::int32_t offset = 0;
         offset < editorOffset && i < static_cast<std::int64_t>(text.size()); ++offset) {
        if (text[i] == '\r' && i + 1 < static_cast<std::int64_t>(text.size()) &&
            text[i + 1] == '\n')
            ++i;
        ++i;
    }
    return static_cast<std::int32_t>(i + 1);
}

}  // namespace zr::compiler
