// Every RTF sample from other editors (see data/SOURCES.md) reads to the expected text and
// colours, and reads the same again after the writer saves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/zrt.h"
#include "machine/utf8.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using namespace testing;

struct Sample {
    std::string file;
    std::string text;  // the whole text, or its beginning when it ends with "…"
    std::vector<std::pair<std::string, Colour>> parts = {};  // parts present and their colour
};

const std::vector<Sample> kSamples = {
    // Font charset 238 overrides \ansicpg1252: the bytes are Central European.
    {"tika__testRTFWordPadCzechCharacters.rtf",
     "Článek týdne\nČást svitku s textem Knihy Izajáš\n…",
     {{"př.\u2009n.\u2009l.", 0}, {"starověké židovské náboženské texty", 0}}},
    {"tika__testRTFWindowsCodepage1250.rtf", "zażółć gęślą jaźń\nZAŻÓŁĆ GĘŚLĄ JAŹŃ\n\n"},
    // Characters past U+FFFF as negative \u surrogate pairs.
    {"tika__testRTFUnicodeGothic.rtf", "𐌲𐌿𐍄𐌹𐍃𐌺\n"},
    // \uc2 skips two \'xx; the last character is a Shift-JIS pair.
    {"tika__testRTFUnicodeUCNControlWordCharacterDoubling.rtf", "0 年 abc 念"},
    // \bin10 data holds a "}"; the file ends with groups still open.
    {"tika__testBinControlWord.rtf", "\t\t\t \n"},
    {"tika__testRTFWithCurlyBraces.rtf",
     "\n      { some text inside curly brackets } \n",
     {{"{ some text inside curly brackets }", 0x800000}}},
    // Colour 1 is explicit black, which is the default colour.
    {"striprtf__bytes.rtf",
     "\nУХВАЛА\n \n27 грудня 2018 року\nм. Київ\n \nсправа № 127\\7798/17\n"
     "провадження № 61-42473св18\n…",
     {{"УХВАЛА", 0}, {"Ухвала оскарженню не підлягає.", 0}}},
    {"rtfjs__colors.rtf",
     "\nNormal Line 1\nNormal Line 2\nColored Line\nHighlighted Line\n"
     "Colored & Highlighted Line\n",
     {{"Normal Line 1", 0},
      {"Colored Line", 0x00FF00},
      {"Highlighted Line", 0},
      {"Colored & Highlighted Line", 0xFFFFFF}}},
    // A field shows its result; the colour set inside the result ends with it.
    {"rtfjs__hyperlink.rtf",
     "This is a document with\na hyperlink to this project.\n"
     "And an unsafe link link in a paragraph that should be centered.\n"
     "And this last paragraph should be left-aligned again.\n",
     {{"this project", 0xFF0000}, {"unsafe link", 0xFF0000}, {"a hyperlink to ", 0}}},
    {"rtfjs__pile-of-poo.rtf", "Iñtërnâtiônàlizætiøn☃💩\n"},
    // List numbering text (\pntext) is not part of the paragraphs.
    {"rtfpipe__List.rtf", "Paragraph\nBullet\nBullet 2\nParagraph 2\nList 1\nList 2\n"},
    // A font without \fcharset follows \ansicpg1251; nested table cells keep their text.
    {"rtfpipe__Issue34.rtf",
     "У Х В А Л А \n…",
     {{"Б.І. Гулько", 0}, {"М.Є.Червинська", 0}, {"В.А.Черненко", 0}}},
    // No \ansicpg means 1252; fallbacks after \u are skipped as whole escapes.
    {"pandoc__unicode.rtf", "“hi”‘hi’\uF0B7αä\n"},
    // LibreOffice writes \uN\'3f; fourteen empty paragraphs come first.
    {"kota7-striprtf__libre.rtf",
     std::string(14, '\n') + "リブレオフィスで作ったＲＴＦファイルです。\n\n"
                             "アンダーラインを引いています。\n\nイタリックです。\n\n太字です。\n…"},
};

// Walks the data folder, so a sample added there must get its expectations here too.
TEST(SampleFiles, ReadTextAndColoursAndSurviveRewriting) {
    std::size_t checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DataDir())) {
        if (entry.path().extension() != ".rtf") continue;
        const std::string file = entry.path().filename().string();
        SCOPED_TRACE(file);
        const auto sample = std::ranges::find(kSamples, file, &Sample::file);
        ASSERT_NE(sample, kSamples.end()) << "no expectations for this file";
        const RichText doc = ReadZrt(ReadBytes(entry.path()));
        const bool beginning = sample->text.ends_with("…");
        const std::string text = sample->text.substr(0, sample->text.size() - (beginning ? 3 : 0));
        EXPECT_EQ(beginning ? doc.text.substr(0, text.size()) : doc.text, text);
        for (const auto& [part, colour] : sample->parts)
            EXPECT_EQ(ColourOf(doc, part), colour) << part;
        EXPECT_TRUE(machine::IsValidUtf8(doc.text));
        EXPECT_EQ(ReadZrt(WriteZrt(doc)), doc);
        ++checked;
    }
    EXPECT_EQ(checked, kSamples.size());
}

}  // namespace
}  // namespace zr::formats
