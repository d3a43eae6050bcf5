#include "formats/zrt.h"

#include "formats/plain_text_reader.h"
#include "formats/rtf_reader.h"
#include "formats/rtf_writer.h"

namespace zr::formats {

bool IsRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf");
}

bool IsCompleteRtf(std::string_view bytes) {
    int depth = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        switch (bytes[i]) {
            case '\\':
                ++i;  // an escaped brace or backslash, or a control word's first letter
                break;
            case '{':
                ++depth;
                break;
            case '}':
                if (--depth == 0) return true;
                break;
            default:
                break;
        }
    }
    return false;
}

RichText ReadZrt(std::string_view bytes) {
    return IsRtf(bytes) ? ReadRtf(bytes) : ReadPlainText(bytes);
}

std::string WriteZrt(const RichText& document) {
    return WriteRtf(document);
}

}  // namespace zr::formats
