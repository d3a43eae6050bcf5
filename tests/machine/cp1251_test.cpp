#include "machine/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace zr::machine {
namespace {

// The hand-made table must agree with the C library's converter byte by byte.
TEST(Cp1251, AgreesWithIconvForEveryByte) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1251");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 1; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* inp = in;
        char* outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        const bool converted = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1);
        if (!converted) {
            EXPECT_EQ(Cp1251ToCodePoint(b), 0u) << b;
            continue;
        }
        EXPECT_EQ(Cp1251ToUtf8(std::string(1, static_cast<char>(b))), std::string(out)) << b;
    }
    iconv_close(cd);
}

TEST(Cp1251, RoundTripsCyrillicAndReplacesTheRest) {
    EXPECT_EQ(Utf8ToCp1251("Ошибка"), "\xCE\xF8\xE8\xE1\xEA\xE0");
    EXPECT_EQ(Utf8ToCp1251("ё№€"), "\xB8\xB9\x88");
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x98\x83z"), "a?z");  // snowman is outside the code page
    EXPECT_EQ(Utf8ToCp1251("\xFF\xC3"), "??");         // malformed UTF-8
}

TEST(Cp1251, LowerCaseCoversLatinAndCyrillic) {
    EXPECT_EQ(LowerCase("DUP Dup"), "dup dup");
    EXPECT_EQ(Cp1251ToUtf8(LowerCase(Utf8ToCp1251("ЁЖИК Ђ Ї"))), "ёжик ђ ї");
    EXPECT_EQ(LowerCase("<=0 #16 @"), "<=0 #16 @");
}

}  // namespace
}  // namespace zr::machine
