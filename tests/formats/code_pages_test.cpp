// The code page tables agree with the C library, and the decoder handles every kind of page.
#include "formats/code_pages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "machine/utf8.h"

namespace zr::formats {
namespace {

// The code point iconv gives for one byte, or U+FFFD when the page leaves the byte unassigned.
char32_t IconvCodePoint(const char* page, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", page);
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!converted) return 0xFFFD;
    std::size_t pos = 0;
    return machine::NextCodePoint(std::string_view(out, outPtr - out), pos);
}

class TableCodePage : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(TableCodePage, AgreesWithIconvForEveryByte) {
    const auto [page, iconvName] = GetParam();
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(SingleByteToCodePoint(page, byte), IconvCodePoint(iconvName, byte))
            << page << " byte " << byte;
}

INSTANTIATE_TEST_SUITE_P(CodePages, TableCodePage,
                         ::testing::Values(std::pair{1250, "CP1250"}, std::pair{1251, "CP1251"},
                                           std::pair{1252, "CP1252"}));

std::u32string Decode(int page, std::string_view bytes) {
    CodePageDecoder decoder;
    std::u32string out;
    decoder.Decode(page, bytes, out);
    return out;
}

TEST(CodePageDecoder, DecodesEveryKindOfPage) {
    EXPECT_EQ(Decode(1251, "\xcf\xe0"), U"Па");
    EXPECT_EQ(Decode(1253, "\xe1\xe2"), U"αβ");
    EXPECT_EQ(Decode(932,
                     "\x94\x4e"
                     "a\x94\x4f"),
              U"年a念");
    EXPECT_EQ(Decode(866, "\x8f\xa0"), U"Па");
    EXPECT_EQ(Decode(10000, "\x8a"), U"ä");
    EXPECT_EQ(Decode(65001, "\xd0\x9f"), U"П");
}

TEST(CodePageDecoder, ReplacesMalformedBytesAndGoesOn) {
    EXPECT_EQ(Decode(932, "\x94"), U"\uFFFD");  // a lead byte alone
    EXPECT_EQ(Decode(932, "\x94\x4e\x94"), U"年\uFFFD");
    EXPECT_EQ(Decode(65001,
                     "\xff"
                     "a\xd0"),
              U"\uFFFDa\uFFFD");
    EXPECT_EQ(Decode(1252, "\x81"), U"\uFFFD");  // unassigned in the page
}

TEST(CodePageDecoder, UnsupportedPagesReadAs1252) {
    EXPECT_EQ(Decode(0, "\xe9"), U"é");
    EXPECT_EQ(Decode(-1, "\xe9"), U"é");
    EXPECT_EQ(Decode(1200, "\xe9"), U"é");  // UTF-16 cannot be a byte page
}

}  // namespace
}  // namespace zr::formats
