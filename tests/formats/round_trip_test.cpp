// Colour runs in canonical form and in the editor's UTF-16 offsets; what the writer saves opens
// again as the same text and colours, and looks like RTF that other editors read.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/zrt.h"
#include "machine/utf8.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using namespace std::literals;
using namespace testing;

TEST(RichText, NormalizeRunsSortsClipsAndMerges) {
    const std::vector<std::pair<Runs, Runs>> cases = {
        // for a text of 10 characters
        {{{0, 6, 1}, {2, 2, 2}}, {{0, 2, 1}, {2, 2, 2}, {4, 2, 1}}},  // the later run wins
        {{{0, 2, 1}, {2, 3, 1}, {4, 2, 1}}, {{0, 6, 1}}},
        {{{0, 10, 1}, {3, 2, 0}}, {{0, 3, 1}, {5, 5, 1}}},   // colour 0 makes no run
        {{{8, 99, 2}, {-3, 5, 1}}, {{0, 2, 1}, {8, 2, 2}}},  // sorted and clipped
        {{{3, 0, 1}, {4, -2, 2}, {12, 1, 3}}, {}},
        {{{2147483647, 2147483647, 1}, {1, 2147483647, 2}}, {{1, 9, 2}}},
    };
    for (const auto& [runs, canonical] : cases) EXPECT_EQ(NormalizeRuns(runs, 10), canonical);
}

TEST(RichText, Utf16RunsCountTwoUnitsPastUFFFFAndClamp) {
    const std::string text = "a😀bёc";  // UTF-16 units a hi lo b ё c
    EXPECT_EQ(ToUtf16Runs(text, Runs{{1, 2, 7}, {4, 1, 8}}), (Runs{{1, 3, 7}, {5, 1, 8}}));
    EXPECT_EQ(FromUtf16Runs(text, Runs{{1, 3, 7}, {5, 1, 8}}), (Runs{{1, 2, 7}, {4, 1, 8}}));
    EXPECT_EQ(FromUtf16Runs("😀x", Runs{{1, 1, 7}}), (Runs{{0, 1, 7}}));
    EXPECT_EQ(FromUtf16Runs("😀x", Runs{{2, 50, 7}}), (Runs{{1, 1, 7}}));
    EXPECT_EQ(ToUtf16Runs("😀x", Runs{{-1, 50, 7}}), (Runs{{0, 3, 7}}));
}

TEST(RoundTrip, WriteThenReadGivesTheSameDocument) {
    const std::vector<RichText> documents = {
        {},
        {"\n", {}},
        {"\n\n a\n\nDup\nEnd\n", {{6, 3, kBlue}}},
        {"Ввод x\nПечать \"Привет, мир!\" ёЁ№\n", {{0, 4, kBlue}, {7, 6, kRed}}},
        {"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—™љ›њќћџ ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї", {}},
        {"é ü ß 年 \uF0B7 \uFFFD \u8000 a😀b𐌲\n💩", {{2, 1, kRed}, {15, 1, kBlue}, {17, 3, kGreen}}},
        {"\\{}\\par{\\u1}a\0b\rc\x01\x1f"s, {{0, 3, kRed}, {13, 1, kGreen}}},
        {"\t Dup  \tx12 3", {{1, 4, kBlue}, {9, 2, kRed}}},  // spaces and digits after \cfN
        // Runs at both ends, next to each other, over line ends; near-black and white.
        {"DupSwap Dup\nb\ncd",
         {{0, 3, kBlue}, {3, 4, kGreen}, {8, 7, 0x000001}, {15, 1, 0xFFFFFF}}},
    };
    for (const RichText& document : documents) {
        const std::string rtf = WriteZrt(document);
        EXPECT_EQ(ReadZrt(rtf), document) << rtf;
    }
}

TEST(RoundTrip, RunsComeBackCanonical) {
    const RichText written{"abcdef",
                           {{4, 9, kRed}, {0, 2, kBlue}, {1, 2, kGreen}, {2, 1, 0}, {3, 1, kRed}}};
    EXPECT_EQ(ReadZrt(WriteZrt(written)).runs, (Runs{{0, 1, kBlue}, {1, 1, kGreen}, {3, 3, kRed}}));
}

// Random documents over the characters that need care: ASCII with backslashes and braces,
// control characters, Windows-1251, other BMP characters and characters past U+FFFF.
TEST(RoundTrip, RandomDocuments) {
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges = {
        {0x00, 0x1F},     {0x20, 0x7F},        {0x80, 0x3FF}, {0x400, 0x45F}, {0x2000, 0x2122},
        {0xE000, 0xFFFD}, {0x10000, 0x10FFFF}, {'\\', '\\'},  {'{', '}'},     {'\n', '\n'}};
    const std::vector<Colour> colours = {kBlue, kGreen, kRed, 0x123456, 0};
    std::mt19937 random(7340);
    for (int round = 0; round < 300; ++round) {
        RichText document;
        const int length = std::uniform_int_distribution(0, 60)(random);
        for (int i = 0; i < length; ++i) {
            const auto& range = ranges[random() % ranges.size()];
            char32_t cp = std::uniform_int_distribution(range.first, range.second)(random);
            if (cp >= 0xD800 && cp <= 0xDFFF) cp = 'x';
            machine::AppendUtf8(document.text, cp);
        }
        Runs runs;
        for (int i = random() % 6; i > 0; --i)
            runs.push_back({std::uniform_int_distribution(-2, length)(random),
                            std::uniform_int_distribution(-1, 20)(random),
                            colours[random() % colours.size()]});
        document.runs = NormalizeRuns(runs, length);
        const std::string rtf = WriteZrt(document);
        ASSERT_EQ(ReadZrt(rtf), document) << rtf;
    }
}

TEST(RtfWriter, WritesSevenBitRtfThatEditorsUnderstand) {
    const std::string rtf = WriteZrt({"Dup Ввод 😀\n", {{0, 3, kBlue}, {4, 4, kGreen}}});
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1251")) << rtf;
    EXPECT_NE(rtf.find("\\fcharset204"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green255\\blue0;}"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\cf1 Dup\\cf0  \\cf2 \\'c2\\'e2\\'ee\\'e4\\cf0  \\u-10179?\\u-8704?\\par"),
              std::string::npos)
        << rtf;
    for (unsigned char c : rtf) EXPECT_LT(c, 0x80);
}

}  // namespace
}  // namespace zr::formats
