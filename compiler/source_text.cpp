#include "compiler/source_text.h"

#include <algorithm>
#include <array>

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

namespace {

// The byte each of U+0400..U+045F (the Cyrillic block the code page covers
// almost whole) becomes, -1 for none.
struct CyrillicBytes {
    std::array<int, 0x60> byte{};
    CyrillicBytes() {
        for (char32_t cp = 0x400; cp < 0x460; ++cp)
            byte[cp - 0x400] = machine::CodePointToCp1251(cp);
    }
};

// UTF-8 to compiler text in one pass: decoding, the code page and the line
// ends together. Malformed sequences become '?' (as U+FFFD would) and set
// `malformed`.
std::string ConvertUtf8(std::string_view utf8, bool& malformed) {
    static const CyrillicBytes cyrillic;
    malformed = false;
    // At most two bytes out for one in (a lone LF or CR becomes CR LF).
    std::string out(utf8.size() * 2, '\0');
    char* o = out.data();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c >= 0x80) {
            char32_t cp = 0;
            if ((c == 0xD0 || c == 0xD1) && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
                cp = (char32_t(c & 0x1F) << 6) | (s[i + 1] & 0x3F);  // Cyrillic, never overlong
                i += 2;
            } else {
                const auto decoded = machine::DecodeUtf8(utf8, i);
                if (!decoded) malformed = true;
                cp = decoded.value_or(0xFFFD);
            }
            const int byte =
                cp - 0x400 < 0x60 ? cyrillic.byte[cp - 0x400] : machine::CodePointToCp1251(cp);
            *o++ = static_cast<char>(byte < 0 ? '?' : byte);
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < n && s[i + 1] == '\n') ++i;
            *o++ = '\r';
            *o++ = '\n';
            ++i;
        } else {
            *o++ = static_cast<char>(c);
            ++i;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

}  // namespace

std::string ToCompilerText(std::string_view utf8) {
    bool malformed = false;
    return ConvertUtf8(utf8, malformed);
}

std::string PlainBytesToCompilerText(std::string_view bytes) {
    const std::string withoutMark = machine::WithoutByteOrderMark(bytes);
    bool malformed = false;
    std::string text = ConvertUtf8(withoutMark, malformed);
    return malformed ? WithCrLfLineEnds(withoutMark) : text;
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

Extent ErrorExtentOf(std::string_view text, std::int32_t errorStart, std::int32_t errorLength) {
    const std::int32_t first = SkipBlanks(text, errorStart);
    return {first, std::max(first, errorStart + std::max(errorLength, 0))};
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
