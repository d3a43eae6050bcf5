// The code page tables agree with the C library, and the decoder handles every kind of page.
#include "formats/code_pages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <tuple>
#include <vector>

#include "machine/utf8.h"

namespace zr::formats {
namespace {

// The code point iconv gives for one byte, or U+FFFD when the page leaves the byte unassigned.
char32_t IconvCodePoint(const char* page, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", page);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[1] = {static_cast<char>(byte)}, out[8] = {};
    char *inPtr = in, *outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out, pos = 0;
    const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return converted ? machine::NextCodePoint(std::string_view(out, outPtr - out), pos) : 0xFFFD;
}

TEST(CodePages, TablesAgreeWithIconvForEveryByte) {
    for (const auto& [page, name] : {std::pair{1250, "CP1250"}, {1251, "CP1251"}, {1252, "CP1252"}})
        for (int byte = 0; byte < 256; ++byte)
            EXPECT_EQ(SingleByteToCodePoint(page, byte), IconvCodePoint(name, byte))
                << page << " byte " << byte;
}

// A lead byte alone or bad UTF-8 is replaced, as is a byte the page leaves unassigned (0x81 in
// 1252); unsupported pages, UTF-16 among them, read as 1252.
TEST(CodePageDecoder, DecodesEveryKindOfPageAndReplacesMalformedBytes) {
    const std::vector<std::tuple<int, std::string, std::u32string>> cases = {
        {1251, "\xcf\xe0", U"Па"},
        {1253, "\xe1\xe2", U"αβ"},
        {932, "\x94Na\x94O", U"年a念"},
        {866, "\x8f\xa0", U"Па"},
        {10000, "\x8a", U"ä"},
        {65001, "\xd0\x9f", U"П"},
        {932, "\x94N\x94", U"年\uFFFD"},
        {65001, "\xffz\xd0", U"\uFFFDz\uFFFD"},
        {1252, "\x81", U"\uFFFD"},
        {0, "\xe9", U"é"},
        {-1, "\xe9", U"é"},
        {1200, "\xe9", U"é"}};
    for (const auto& [page, bytes, expected] : cases) {
        CodePageDecoder decoder;
        std::u32string out;
        decoder.Decode(page, bytes, out);
        EXPECT_EQ(out, expected) << "page " << page;
    }
}

}  // namespace
}  // namespace zr::formats
