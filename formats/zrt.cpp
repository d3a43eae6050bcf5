#include "formats/zrt.h"

#include "formats/plain_text_reader.h"
#include "formats/rtf_reader.h"
#include "formats/rtf_writer.h"
#include "machine/byte_order_mark.h"

namespace zr::formats {

bool IsRtf(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
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

bool IsCutShort(std::string_view fileBytes) {
    const std::string text = machine::WithoutByteOrderMark(fileBytes);
    return IsRtf(text) && !IsCompleteRtf(text);
}

// The mark goes first, so that RTF behind a mark (or saved as UTF-16) is still RTF.
RichText ReadZrt(std::string_view bytes) {
    const std::string text = machine::WithoutByteOrderMark(bytes);
    return IsRtf(text) ? ReadRtf(text) : ReadPlainText(text);
}

std::string WriteZrt(const RichText& document) {
    return WriteRtf(document);
}

}  // namespace zr::formats
