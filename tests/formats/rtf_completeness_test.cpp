// Telling a complete RTF file from one cut short.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "formats/zrt.h"

namespace zr::formats {
namespace {

// A file cut short ends inside the document's group; braces and backslashes
// written as text do not count.
TEST(Reader, CompleteRtfIsToldFromOneCutShort) {
    const std::pair<const char*, bool> cases[] = {
        {"{\\rtf1 Dup\\par}", true},
        {"{\\rtf1 {\\colortbl;}\\cf1 a\\{ b\\} \\\\}\n", true},
        {"{\\rtf1 {\\colortbl;}\\cf1 Dup\\par Sw", false},
        {"{\\rtf1 text \\}", false},
        {"{\\rtf1 text \\\\", false},
        {"", false},
    };
    for (const auto& [rtf, complete] : cases) EXPECT_EQ(IsCompleteRtf(rtf), complete) << rtf;
}

// The one test of a damaged .zrt that the environment and keltoc share: RTF behind any
// byte-order mark that ends inside its group. Plain text is never damaged.
TEST(Reader, AFileCutShortIsRtfThatEndsInTheMiddle) {
    const auto utf16 = [](std::string_view ascii, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return bytes;
    };
    const std::string whole = "{\\rtf1 {\\colortbl;}\\cf1 Dup\\par}";
    const std::string cut = whole.substr(0, whole.size() - 1);
    const std::pair<std::string, bool> cases[] = {
        {whole, false},
        {cut, true},
        {"\xEF\xBB\xBF" + whole, false},
        {"\xEF\xBB\xBF" + cut, true},
        {utf16(whole, false), false},
        {utf16(cut, false), true},
        {utf16(cut, true), true},
        {"Dup {\n", false},
        {"", false},
    };
    for (const auto& [bytes, cutShort] : cases) EXPECT_EQ(IsCutShort(bytes), cutShort) << bytes;
}

}  // namespace
}  // namespace zr::formats
