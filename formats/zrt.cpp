#include "formats/zrt.h"

#include "formats/plain_text_reader.h"
#include "formats/rtf_reader.h"
#include "formats/rtf_writer.h"

namespace zr::formats {

bool IsRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf");
}

RichText ReadZrt(std::string_view bytes) {
    return IsRtf(bytes) ? ReadRtf(bytes) : ReadPlainText(bytes);
}

std::string WriteZrt(const RichText& document) {
    return WriteRtf(document);
}

}  // namespace zr::formats
