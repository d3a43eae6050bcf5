// What the writer saves opens again as the same text and colours, and looks like RTF that
// other editors read.
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
using testing::TestName;

constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0x008000;
constexpr Colour kRed = 0x0000FF;

struct RoundTripCase {
    const char* what;
    RichText document;
};

const std::vector<RoundTripCase> kRoundTrips = {
    {"empty", {}},
    {"one line end", {"\n", {}}},
    {"text ending with a line end", {"Dup\nEnd\n", {{0, 3, kBlue}}}},
    {"blank lines", {"\n\n a\n\n", {}}},
    {"project comment", {"'---Project: 06.12.2026---\n", {{0, 27, kGreen}}}},
    {"Cyrillic with colours",
     {"Ввод x\nПечать \"Привет, мир!\" ёЁ№\n", {{0, 4, kBlue}, {7, 6, kRed}}}},
    {"the whole upper half of 1251",
     {"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—™љ›њќћџ ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї", {}}},
    {"characters outside 1251", {"é ü ß 年 \uF0B7 \uFFFD \u8000", {{2, 1, kRed}}}},
    {"characters past U+FFFF", {"a😀b𐌲\n💩", {{1, 1, kBlue}, {3, 3, kGreen}}}},
    {"RTF specials", {"\\{}\\par{\\u1}", {{0, 3, kRed}}}},
    {"tabs and spaces after a colour change", {"\t Dup  \tx", {{1, 4, kBlue}}}},
    {"control characters", {"a\0b\rc\x01\x1f"s, {{1, 1, kRed}}}},
    {"runs at both ends", {"Dup Swap", {{0, 3, kBlue}, {4, 4, kGreen}}}},
    {"adjacent runs of different colours", {"DupSwap", {{0, 3, kBlue}, {3, 4, kGreen}}}},
    {"a run that spans lines", {"a\nb\nc", {{0, 5, kRed}}}},
    {"near-black and white", {"ab", {{0, 1, 0x000001}, {1, 1, 0xFFFFFF}}}},
    {"digits after a colour change", {"x12 3", {{1, 2, kBlue}}}},
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, WriteThenReadGivesTheSameDocument) {
    const RichText& document = GetParam().document;
    ASSERT_EQ(document.runs, NormalizeRuns(document.runs, machine::CodePointCount(document.text)))
        << "test cases use canonical runs";
    const std::string rtf = WriteZrt(document);
    EXPECT_TRUE(IsRtf(rtf));
    EXPECT_EQ(ReadZrt(rtf), document) << rtf;
}

INSTANTIATE_TEST_SUITE_P(Zrt, RoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return TestName(info.param.what); });

TEST(RoundTrip, RunsComeBackCanonical) {
    const RichText written{"abcdef",
                           {{4, 9, kRed}, {0, 2, kBlue}, {1, 2, kGreen}, {2, 1, 0}, {3, 1, kRed}}};
    EXPECT_EQ(ReadZrt(WriteZrt(written)).runs,
              (std::vector<ColourRun>{{0, 1, kBlue}, {1, 1, kGreen}, {3, 3, kRed}}));
}

// Random documents over the characters that need care: ASCII specials, control characters,
// Windows-1251, other BMP characters and characters past U+FFFF.
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
        std::vector<ColourRun> runs;
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
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\cf1 Dup\\cf0  \\cf2 \\'c2\\'e2\\'ee\\'e4\\cf0  \\u-10179?\\u-8704?\\par"),
              std::string::npos)
        << rtf;
    for (unsigned char c : rtf) EXPECT_LT(c, 0x80);
}

}  // namespace
}  // namespace zr::formats
