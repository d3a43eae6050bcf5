// What the reader makes of plain text and RTF, broken input included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/zrt.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using namespace std::literals;
using namespace testing;

// Fonts: f0 ANSI, f1 Cyrillic, f2 Central European, f3 Japanese (double-byte), f4 no charset
// but \cpg1251.
const std::string kFonts =
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset204 Arial Cyr;}"
    "{\\f2\\fcharset238{\\*\\fname Arial;}Arial CE;}{\\f3\\fcharset128 Gothic;}{\\f4\\cpg1251 X;}}";

// Bytes and the text they read as.
const std::vector<std::pair<std::string, std::string>> kTextCases = {
    // Plain text: UTF-8 without its byte-order mark, line ends made LF.
    {"", ""},
    {"\xEF\xBB\xBFВвод\r\nb\rc\n\r\nd\r", "Ввод\nb\nc\n\nd\n"},
    {"a\0b"s, "a\0b"s},
    // Invalid UTF-8 (bad bytes, an overlong form, an encoded surrogate, a truncated sequence)
    // is Windows-1251.
    {"\xC2\xE2\xEE\xE4 \xB8\r\n", "Ввод ё\n"},
    {"\xC0\xAF", "АЇ"},
    {"\xED\xA0\x80", "н\u00A0Ђ"},
    {"ab\xD0", "abР"},
    // Only "{\rtf" at the very start makes RTF.
    {" {\\rtf1 x}", " {\\rtf1 x}"},
    {"{\\RTF1 x}", "{\\RTF1 x}"},
    // Where control words and parameters end; escapes; a line break is text only after a
    // backslash.
    {"{\\rtf1 \\b bold\\b0  x\\highlight0N\\fs20-y}", "bold xN-y"},
    {"{\\rtf1 a\\\\b\\{c\\}\r\nd\ne\rf\\\ng}", "a\\b{c}def\ng"},
    {"{\\rtf1 a\\par b\\line c\\tab d\\cell e\\row f\\sect g\\page h}", "a\nb\nc\td\te\nf\ng\nh"},
    {"{\\rtf1 \\~\\_\\-\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}",
     "\u00A0\u2011\u2014\u2013\u2018\u2019\u201C\u201D"},
    // Code pages: \ansicpg, hex digits in either case, raw 8-bit bytes; the default font, then a
    // font's charset or \cpg until its group ends; an ANSI-charset font follows \ansicpg.
    {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\'b8\\'b9\\'CF\xcf\xe0}",
     "Привет ё№ППа"},
    {"{\\rtf1\\ansi\\ansicpg1252\\deff1" + kFonts +
         "\\'e0{\\f2 \\'e0}\\'e0\\f0 \\'e0\\f4 \\'e0\\f3 \\'94\\'4e\\'94O}",
     "аŕаàа年念"},
    {"{\\rtf1\\ansicpg1251" + kFonts + "\\f0 \\'e0}", "а"},
    // \u with its fallback skipped, even an escape; negative \u; surrogate pairs join, lone
    // ones are replaced; \uc sets the fallback size until its group ends; a control word or
    // group ends the fallback; \u without a number or out of range.
    {"{\\rtf1 \\u1055?\\u1088 p\\u1055\\'cf!\\u-3913?\\u-3?}", "ПрП!\uF0B7\uFFFD"},
    {"{\\rtf1 \\u-10179?\\u-9047?\\u-10179?x\\u-9047?y}", "💩\uFFFDx\uFFFDy"},
    {"{\\rtf1\\uc2 \\u1055\\'cf\\'cf!{\\uc0\\u1088!}\\u1088 ab}", "П!р!р"},
    {"{\\rtf1\\uc3 \\u1055\\par x\\u1088{y}}", "П\nxрy"},
    {"{\\rtf1 \\u x\\u99999999999?\\u-99999999999?}", "x\uFFFD\uFFFD"},
    // \bin data is skipped, braces and all, as one fallback; its length may be bad.
    {"{\\rtf1 a\\bin4 }}{\\b\\u1055\\bin2 xyz}", "abПz"},
    {"{\\rtf1 \\bin-5 ab\\bin99999999999 bc}", "ab"},
    // Skipped: tables, \* destinations (even after a line break), unknown words, pictures,
    // list numbers, field instructions, hidden text (until \v0 or \plain), stray control bytes
    // (escaped ones stay) and whatever follows the document's group.
    {"{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x}", "x"},
    {"{\\rtf1 a{\\*\\generator Msftedit;}{\\*\\x{y}z}{\\*\r\n\\generator G;}b}", "ab"},
    {"{\\rtf1 a\\foo12 b\\zz c{\\pict\\wmetafile8 0102ff}d{\\pntext 1.\\tab}{\\listtext 2.}e}",
     "abcde"},
    {"{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul here}}}."
     "{\\field{\\fldinst PAGE}{\\fldrslt 7}}}",
     "see here.7"},
    {"{\\rtf1 {\\*\\nesttableprops\\trowd a\\nestcell b\\nestrow}}", "a\tb\n"},
    {"{\\rtf1 a{\\v hidden}b\\v c\\v0 d\\v e\\plain f}", "abdf"},
    {"{\\rtf1 a\0b\x01"
     "c\td\\'00\\'0d\\'01}"s,
     "abc\td\0\r\x01"s},
    {"{\\rtf1 a}}}b\0c"s, "a"},
    // Broken input reads as far as it goes.
    {"{\\rtf1 a{b{c", "abc"},
    {"{\\rtf1 a\\", "a"},
    {"{\\rtf1 a\\'", "a"},
    {"{\\rtf1 a\\pa", "a"},
    {"{\\rtf1 a{\\*", "a"},
    {"{\\rtf1 a\\'4x\\'zz}", "a\x04xzz"},
    {"{\\rtf1\\cf99999999999999999999 x\\uc99999999999\\u65 y\\fs-99999999999 z}", "xAz"},
    {"{\\rtf1\\ansicpg77777 \\'e9}", "é"},
    {"{\\rtf1{\\colortbl;\\red255}\\cf1 x}", "x"},
    // Deep nesting, past the depth limit too, balances and restores the state.
    {"{\\rtf1 a{\\v" + std::string(100000, '{') + "hidden" + std::string(100001, '}') + "b}c",
     "ab"},
};

TEST(Reader, Text) {
    for (const auto& [bytes, text] : kTextCases)
        EXPECT_EQ(ReadZrt(bytes).text, text) << bytes.substr(0, 100);
}

// Colours 1 to 5: red, green, blue, red again, auto.
const std::string kColours =
    "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red0\\green0\\blue255;"
    "\\red255\\green0\\blue0;;}";

const std::vector<std::pair<std::string, Runs>> kColourCases = {
    {kColours + "a\\cf1 bc\\cf0 d\\cf2 e}", {{1, 2, kRed}, {4, 1, kGreen}}},
    {kColours + "\\cf3 a\\par b}", {{0, 3, kBlue}}},
    {kColours + "\\cf1 a{\\cf2 b}c}", {{0, 1, kRed}, {1, 1, kGreen}, {2, 1, kRed}}},
    {kColours + "\\cf1 a\\cf4 b\\cf1 c\\plain d}", {{0, 3, kRed}}},
    {kColours + "\\cf5 a\\cf9 b\\cf-1 c}", {}},
    {kColours + "\\u1105?\\u-10179?\\u-9045?\\cf2 x}", {{2, 1, kGreen}}},
    {kColours + "{\\*\\x\\cf1 hidden}\\cf2 a}", {{0, 1, kGreen}}},
    {"{\\rtf1{\\colortbl;\\green128;\\blue7\\red1;}\\cf1 a\\cf2 b}",
     {{0, 1, 0x008000}, {1, 1, 0x070001}}},
};

TEST(Reader, Colours) {
    for (const auto& [rtf, runs] : kColourCases) EXPECT_EQ(ReadZrt(rtf).runs, runs) << rtf;
}

}  // namespace
}  // namespace zr::formats
