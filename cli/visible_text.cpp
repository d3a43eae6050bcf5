#include "cli/visible_text.h"

#include <cstdio>

#include "machine/utf8.h"

namespace zr::cli {
namespace {

bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

template <typename Replace>
std::string ReplaceControls(std::string_view utf8, Replace replace) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const auto codePoint = machine::DecodeUtf8(utf8, pos);
        if (codePoint && !IsControl(*codePoint))
            out.append(utf8.substr(start, pos - start));
        else
            replace(out, codePoint ? *codePoint : static_cast<unsigned char>(utf8[start]));
    }
    return out;
}

}  // namespace

std::string EscapeControls(std::string_view utf8) {
    return ReplaceControls(utf8, [](std::string& out, char32_t value) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(value));
        out += escaped;
    });
}

std::string MaskControls(std::string_view utf8) {
    return ReplaceControls(utf8, [](std::string& out, char32_t) { out += "·"; });
}

}  // namespace zr::cli
