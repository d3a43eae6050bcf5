#include "machine/byte_order_mark.h"

#include "machine/utf8.h"

namespace zr::machine {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    std::string utf8;
    utf8.reserve(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t codePoint = unit(i);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) codePoint = kReplacementCharacter;
        AppendUtf8(utf8, codePoint);
    }
    // A stray byte after the last whole unit (a file cut short, a careless edit) is one
    // character that cannot be decoded, as an invalid UTF-8 sequence is.
    if (bytes.size() % 2 != 0) AppendUtf8(utf8, kReplacementCharacter);
    return utf8;
}

}  // namespace

std::string WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return std::string(bytes.substr(kUtf8Mark.size()));
    if (bytes.starts_with(kUtf16LittleMark)) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with(kUtf16BigMark)) return DecodeUtf16(bytes.substr(2), true);
    return std::string(bytes);
}

}  // namespace zr::machine
