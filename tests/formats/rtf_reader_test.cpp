// RTF syntax the reader must understand, and input it must survive.
#include "formats/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/zrt.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using namespace std::literals;
using testing::ColourOf;
using testing::TestName;

struct TextCase {
    const char* what;
    std::string rtf;
    std::string text;
};

// Fonts: f0 ANSI, f1 Cyrillic, f2 Central European, f3 Japanese (double-byte), f4 no charset
// but \cpg1251.
const std::string kFonts =
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset204 Arial Cyr;}"
    "{\\f2\\fcharset238{\\*\\fname Arial;}Arial CE;}{\\f3\\fcharset128 Gothic;}{\\f4\\cpg1251 X;}}";

const std::vector<TextCase> kTextCases = {
    {"space ends a control word and is dropped", "{\\rtf1 \\b bold\\b0  x}", "bold x"},
    {"a parameter ends at a letter", "{\\rtf1\\highlight0Normal}", "Normal"},
    {"a parameter ends at a minus that starts no number", "{\\rtf1\\fs20-x}", "-x"},
    {"escaped specials", "{\\rtf1 a\\\\b\\{c\\}}", "a\\b{c}"},
    {"line breaks in the file are no text", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},
    {"backslash before a line break is a paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
    {"breaks and tabs", "{\\rtf1 a\\par b\\line c\\tab d\\cell e\\row f\\sect g\\page h}",
     "a\nb\nc\td\te\nf\ng\nh"},
    {"special characters",
     "{\\rtf1 \\~\\_\\-\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}",
     "\u00A0\u2011\u2014\u2013\u2018\u2019\u201C\u201D"},
    {"default code page is 1252", "{\\rtf1\\ansi \\'e9\\'80}", "é€"},
    {"ansicpg1251", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\'b8\\'b9}",
     "Привет ё№"},
    {"ansicpg1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8}", "šč"},
    {"hex digits in upper case", "{\\rtf1\\ansicpg1251 \\'CF\\'C0}", "ПА"},
    {"the font's charset wins over ansicpg",
     "{\\rtf1\\ansi\\ansicpg1252" + kFonts + "\\f1 \\'e0\\f2 \\'e0\\f0 \\'e0}", "аŕà"},
    {"an ANSI-charset font follows ansicpg", "{\\rtf1\\ansi\\ansicpg1251" + kFonts + "\\f0 \\'e0}",
     "а"},
    {"a font's \\cpg names its code page", "{\\rtf1\\ansi" + kFonts + "\\f4 \\'e0}", "а"},
    {"the default font applies before any \\f", "{\\rtf1\\ansi\\deff1" + kFonts + "\\'e0}", "а"},
    {"a font choice ends with its group", "{\\rtf1\\ansi" + kFonts + "{\\f1 \\'e0}\\'e0}", "аà"},
    {"double-byte characters from the font's code page",
     "{\\rtf1\\ansi" + kFonts + "\\f3 \\'94\\'4e\\'94O}", "年念"},
    {"raw 8-bit bytes decode like escapes", "{\\rtf1\\ansicpg1251 \xcf\xe0}", "Па"},
    {"\\u with its fallback skipped", "{\\rtf1 \\u1055?\\u1088 p}", "Пр"},
    {"negative \\u is past 32767", "{\\rtf1 \\u-3913?\\u-3?}", "\uF0B7\uFFFD"},
    {"surrogate pairs join", "{\\rtf1 \\u-10179?\\u-9047?}", "💩"},
    {"a lone surrogate is replaced", "{\\rtf1 \\u-10179?x\\u-9047?y}", "\uFFFDx\uFFFDy"},
    {"the fallback may be an escape", "{\\rtf1 \\u1055\\'cf!}", "П!"},
    {"\\uc sets the fallback size", "{\\rtf1\\uc2 \\u1055\\'cf\\'cf!\\uc0\\u1088!}", "П!р!"},
    {"\\uc ends with its group", "{\\rtf1 {\\uc2\\u1055 ab}\\u1088 cd}", "Прd"},
    {"a control word ends the fallback", "{\\rtf1\\uc3 \\u1055\\par x}", "П\nx"},
    {"a group ends the fallback", "{\\rtf1\\uc3 \\u1055{x}}", "Пx"},
    {"\\u without a number is ignored", "{\\rtf1 \\u x}", "x"},
    {"\\u out of range is replaced", "{\\rtf1 \\u99999999999?}", "\uFFFD"},
    {"binary data is skipped, braces and all", "{\\rtf1 a\\bin4 }}{\\b}", "ab"},
    {"\\bin counts as one fallback", "{\\rtf1 \\u1055\\bin2 xyz}", "Пz"},
    {"\\bin longer than the file", "{\\rtf1 a\\bin99999999999 bc}", "a"},
    {"tables are not text",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
     "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x}",
     "x"},
    {"unknown \\* destinations are skipped", "{\\rtf1 a{\\*\\generator Msftedit;}{\\*\\x{y}z}b}",
     "ab"},
    {"\\* before a line break still applies", "{\\rtf1 a{\\*\r\n\\generator G;}b}", "ab"},
    {"unknown plain control words are ignored", "{\\rtf1 a\\foo12 b\\zz c}", "abc"},
    {"fields show their result",
     "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul here}}}.}",
     "see here."},
    {"field instructions without \\* are skipped too",
     "{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"},
    {"pictures are skipped", "{\\rtf1 a{\\pict\\wmetafile8 0102ff}b}", "ab"},
    {"list numbering text is skipped", "{\\rtf1 {\\pntext 1.\\tab}{\\listtext 2.\\tab}x}", "x"},
    {"nested table rows keep their cells",
     "{\\rtf1 {\\*\\nesttableprops\\trowd a\\nestcell b\\nestrow}}", "a\tb\n"},
    {"hidden text is dropped", "{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", "abd"},
    {"\\plain shows hidden text again", "{\\rtf1 \\v a\\plain b}", "b"},
    {"text after the document's group is ignored", "{\\rtf1 a}b\0c", "a"},
    {"stray control bytes are dropped",
     std::string("{\\rtf1 a\0b\x01"
                 "c\td}"sv),
     "abc\td"},
    {"escaped control bytes are kept", "{\\rtf1 \\'00\\'0d\\'01}", std::string("\0\r\x01", 3)},
};

class ReadsText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadsText, Case) {
    EXPECT_EQ(ReadRtf(GetParam().rtf).text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rtf, ReadsText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return TestName(info.param.what); });

// Truncated and malformed input reads as far as it goes.
const std::vector<TextCase> kBrokenCases = {
    {"unclosed group", "{\\rtf1 abc", "abc"},
    {"unclosed inner groups", "{\\rtf1 a{b{c", "abc"},
    {"extra closing braces", "{\\rtf1 a}}}b", "a"},
    {"ends after a backslash", "{\\rtf1 a\\", "a"},
    {"ends inside an escape", "{\\rtf1 a\\'", "a"},
    {"escape with one digit", "{\\rtf1 a\\'4x}", "a\x04x"},
    {"escape with no digit", "{\\rtf1 a\\'zz}", "azz"},
    {"ends inside a control word", "{\\rtf1 a\\pa", "a"},
    {"ends after \\*", "{\\rtf1 a{\\*", "a"},
    {"huge parameters",
     "{\\rtf1\\cf99999999999999999999 x\\uc99999999999\\u65 y\\fs-99999999999 z}", "xAz"},
    {"huge negative \\u", "{\\rtf1 \\u-99999999999?}", "\uFFFD"},
    {"unknown code page", "{\\rtf1\\ansicpg77777 \\'e9}", "é"},
    {"\\bin with negative length", "{\\rtf1 \\bin-5 ab}", "ab"},
    {"a colour table entry never finished", "{\\rtf1{\\colortbl;\\red255}\\cf1 x}", "x"},
};

class SurvivesBrokenInput : public ::testing::TestWithParam<TextCase> {};

TEST_P(SurvivesBrokenInput, Case) {
    EXPECT_EQ(ReadRtf(GetParam().rtf).text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rtf, SurvivesBrokenInput, ::testing::ValuesIn(kBrokenCases),
                         [](const auto& info) { return TestName(info.param.what); });

TEST(RtfReader, DeepNestingKeepsTextAndState) {
    const int depth = 100000;
    std::string rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 ";
    rtf += std::string(depth, '{') + "deep" + std::string(depth, '}') + "after}";
    const RichText doc = ReadRtf(rtf);
    EXPECT_EQ(doc.text, "deepafter");
    EXPECT_EQ(ColourOf(doc, "deepafter"), 0x0000FF);
}

TEST(RtfReader, NestingBeyondTheLimitStillBalances) {
    const int depth = 5000;
    std::string rtf = "{\\rtf1 a";
    for (int i = 0; i < depth; ++i) rtf += "{\\v ";
    rtf += "hidden" + std::string(depth, '}') + "b}c";
    EXPECT_EQ(ReadRtf(rtf).text, "ab");
}

struct ColourCase {
    const char* what;
    std::string body;  // after a colour table of red, green, blue, red again, auto
    std::vector<ColourRun> runs;
};

const std::vector<ColourCase> kColourCases = {
    {"no \\cf", "abc", {}},
    {"one run", "a\\cf1 bc\\cf0 d", {{1, 2, 0x0000FF}}},
    {"a run to the end", "a\\cf2 bc", {{1, 2, 0x00FF00}}},
    {"a run covers its line ends", "\\cf3 a\\par b", {{0, 3, 0xFF0000}}},
    {"a group restores the colour",
     "\\cf1 a{\\cf2 b}c",
     {{0, 1, 0x0000FF}, {1, 1, 0x00FF00}, {2, 1, 0x0000FF}}},
    {"equal neighbours merge", "\\cf1 a\\cf4 b\\cf1 c", {{0, 3, 0x0000FF}}},
    {"\\plain resets the colour", "\\cf1 a\\plain b", {{0, 1, 0x0000FF}}},
    {"an auto entry is the default", "\\cf5 a", {}},
    {"an index past the table is the default", "\\cf9 a\\cf-1 b", {}},
    {"offsets count code points", "\\u1105?\\u-10179?\\u-9045?\\cf2 x", {{2, 1, 0x00FF00}}},
    {"skipped text makes no run", "{\\*\\x\\cf1 hidden}\\cf2 a", {{0, 1, 0x00FF00}}},
};

class ReadsColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ReadsColours, Case) {
    const std::string rtf =
        "{\\rtf1{\\colortbl "
        ";\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red0\\green0\\blue255;"
        "\\red255\\green0\\blue0;;}" +
        GetParam().body + "}";
    EXPECT_EQ(ReadRtf(rtf).runs, GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(Rtf, ReadsColours, ::testing::ValuesIn(kColourCases),
                         [](const auto& info) { return TestName(info.param.what); });

TEST(RtfReader, ColourTableEntryWithSomeComponents) {
    const RichText doc = ReadRtf("{\\rtf1{\\colortbl;\\green128;\\blue7\\red1;}\\cf1 a\\cf2 b}");
    EXPECT_EQ(doc.runs, (std::vector<ColourRun>{{0, 1, 0x008000}, {1, 1, 0x070001}}));
}

}  // namespace
}  // namespace zr::formats
