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

// The mark goes first, so that RTF behind a mark (or saved as UTF-16) is still RTF.
RichText ReadZrt(std::string_view bytes) {
    const std::string text = machine::WithoutByteOrderMark(bytes);
    return IsRtf(text) ? ReadRtf(text) : ReadPlainText(text);
}

std::string WriteZrt(const RichText& document) {
    return WriteRtf(document);
}

}  // namespace zr::formats
