#include "formats/plain_text_reader.h"

#include <string>

#include "machine/byte_order_mark.h"
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
    const std::string text = machine::WithoutByteOrderMark(bytes);
    if (machine::IsValidUtf8(text)) return {WithLfLineEnds(text), {}};
    return {WithLfLineEnds(machine::Cp1251ToUtf8(text)), {}};
}

}  // namespace zr::formats
