// Every reader drops a byte-order mark; UTF-16 with its mark is decoded, an odd byte count too.
#include <gtest/gtest.h>

#include <string>

#include "formats/rtf_reader.h"
#include "formats/zrt.h"

namespace zr::formats {
namespace {

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(ByteOrderMark, IsDroppedBeforeTheFormatIsDecided) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "Dup",
         "Dup"},
        {"\xEF\xBB\xBF{\\rtf1\\ansi Dup\\par End}", "Dup\nEnd"},
        {Utf16(u"Привет\r\nEnd", false), "Привет\nEnd"},
        {Utf16(u"Привет", true), "Привет"},
        {Utf16(u"{\\rtf1 Dup}", false), "Dup"},
        {Utf16(u"a\U0001F600", false), "a\U0001F600"},  // a surrogate pair
        {Utf16(u"a", false) + "\x3D\xD8", "a\uFFFD"},   // a lone surrogate
        {"Dup\xEF\xBB\xBF", "Dup\xEF\xBB\xBF"},         // only a leading mark counts
        // An odd byte count: the stray last byte is one U+FFFD, as invalid UTF-8 is.
        {"\xFF\xFE"
         "a",
         "\uFFFD"},
        {Utf16(u"Привет", false) + "x", "Привет\uFFFD"},
        {Utf16(u"Привет\r\nEnd", true) + "\x04", "Привет\nEnd\uFFFD"},
        {Utf16(u"a", false) + "\x3D\xD8" + "\x3D", "a\uFFFD\uFFFD"},  // a lone surrogate too
    };
    for (const auto& c : cases) EXPECT_EQ(ReadZrt(c.bytes).text, c.text) << c.bytes;
    EXPECT_EQ(ReadRtf("\xEF\xBB\xBF{\\rtf1 Dup}").text, "Dup");
}

}  // namespace
}  // namespace zr::formats
