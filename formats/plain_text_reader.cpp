#include "formats/plain_text_reader.h"

#include <string>

#include "machine/cp1251.h"
#include "machine/utf8.h"

namespace zr::formats {
namespace {

std::string WithLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

}  // namespace

RichText ReadPlainText(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (machine::IsValidUtf8(bytes)) return {WithLfLineEnds(bytes), {}};
    return {WithLfLineEnds(machine::Cp1251ToUtf8(bytes)), {}};
}

}  // namespace zr::formats
