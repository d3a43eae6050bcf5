// Every RTF sample from other editors (see data/SOURCES.md) reads to the expected text and
// colours.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formats/zrt.h"
#include "machine/utf8.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using testing::ColourOf;

struct ColouredPart {
    std::string part;
    Colour colour;
};

struct Sample {
    std::string file;
    std::string text;  // the whole text, or its beginning when `prefixOnly`
    bool prefixOnly = false;
    std::vector<std::string> contains = {};
    std::vector<ColouredPart> colours = {};  // parts and their colour (0 = default)
};

const std::vector<Sample>& Samples() {
    static const std::vector<Sample> samples = {
        // Font charset 238 overrides \ansicpg1252: the bytes are Central European.
        {"tika__testRTFWordPadCzechCharacters.rtf",
         "Článek týdne\nČást svitku s textem Knihy Izajáš\n",
         true,
         {"př.\u2009n.\u2009l.", "starověké židovské náboženské texty"}},
        {"tika__testRTFWindowsCodepage1250.rtf", "zażółć gęślą jaźń\nZAŻÓŁĆ GĘŚLĄ JAŹŃ\n\n"},
        // Characters past U+FFFF as negative \u surrogate pairs.
        {"tika__testRTFUnicodeGothic.rtf", "𐌲𐌿𐍄𐌹𐍃𐌺\n"},
        // \uc2 skips two \'xx; the last character is a Shift-JIS pair.
        {"tika__testRTFUnicodeUCNControlWordCharacterDoubling.rtf", "0 年 abc 念"},
        // \bin10 data holds a "}"; the file ends with groups still open.
        {"tika__testBinControlWord.rtf", "\t\t\t \n"},
        {"tika__testRTFWithCurlyBraces.rtf",
         "\n      { some text inside curly brackets } \n",
         false,
         {},
         {{"{ some text inside curly brackets }", 0x800000}}},
        // Colour 1 is explicit black, which is the default colour.
        {"striprtf__bytes.rtf",
         "\nУХВАЛА\n \n27 грудня 2018 року\nм. Київ\n \nсправа № 127\\7798/17\n"
         "провадження № 61-42473св18\n",
         true,
         {"Ухвала оскарженню не підлягає."},
         {{"УХВАЛА", 0}, {"Ухвала оскарженню", 0}}},
        {"rtfjs__colors.rtf",
         "\nNormal Line 1\nNormal Line 2\nColored Line\nHighlighted Line\n"
         "Colored & Highlighted Line\n",
         false,
         {},
         {{"Normal Line 1", 0},
          {"Colored Line", 0x00FF00},
          {"Highlighted Line", 0},
          {"Colored & Highlighted Line", 0xFFFFFF}}},
        // A field shows its result; the colour set inside the result ends with it.
        {"rtfjs__hyperlink.rtf",
         "This is a document with\na hyperlink to this project.\n"
         "And an unsafe link link in a paragraph that should be centered.\n"
         "And this last paragraph should be left-aligned again.\n",
         false,
         {},
         {{"this project", 0xFF0000}, {"unsafe link", 0xFF0000}, {"a hyperlink to ", 0}}},
        {"rtfjs__pile-of-poo.rtf", "Iñtërnâtiônàlizætiøn☃💩\n"},
        // List numbering text (\pntext) is not part of the paragraphs.
        {"rtfpipe__List.rtf", "Paragraph\nBullet\nBullet 2\nParagraph 2\nList 1\nList 2\n"},
        // A font without \fcharset follows \ansicpg1251; nested table cells keep their text.
        {"rtfpipe__Issue34.rtf",
         "У Х В А Л А \n",
         true,
         {"Б.І. Гулько", "М.Є.Червинська", "В.А.Черненко"}},
        // No \ansicpg means 1252; fallbacks after \u are skipped as whole escapes.
        {"pandoc__unicode.rtf", "“hi”‘hi’\uF0B7αä\n"},
        // LibreOffice writes \uN\'3f; fourteen empty paragraphs come first.
        {"kota7-striprtf__libre.rtf",
         std::string(14, '\n') +
             "リブレオフィスで作ったＲＴＦファイルです。\n\n"
             "アンダーラインを引いています。\n\nイタリックです。\n\n太字です。\n",
         true},
    };
    return samples;
}

class SampleFile : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleFile, ReadsTextAndColours) {
    const Sample& sample = GetParam();
    const std::string bytes = testing::ReadBytes(testing::DataDir() / sample.file);
    ASSERT_FALSE(bytes.empty()) << sample.file;
    ASSERT_TRUE(IsRtf(bytes));

    const RichText doc = ReadZrt(bytes);

    if (sample.prefixOnly) {
        EXPECT_EQ(doc.text.substr(0, sample.text.size()), sample.text);
    } else {
        EXPECT_EQ(doc.text, sample.text);
    }
    for (const std::string& part : sample.contains)
        EXPECT_NE(doc.text.find(part), std::string::npos) << part;
    for (const ColouredPart& expected : sample.colours)
        EXPECT_EQ(ColourOf(doc, expected.part), expected.colour) << expected.part;
    EXPECT_TRUE(machine::IsValidUtf8(doc.text));
    EXPECT_EQ(doc.runs, NormalizeRuns(doc.runs, machine::CodePointCount(doc.text)));
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleFile, ::testing::ValuesIn(Samples()), [](const auto& info) {
    std::string name = info.param.file.substr(0, info.param.file.find('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

// A sample added to the data folder must get its expectations here too.
TEST(SampleFiles, EveryFileInTheDataFolderIsChecked) {
    std::set<std::string> checked;
    for (const Sample& sample : Samples()) checked.insert(sample.file);
    for (const auto& entry : std::filesystem::directory_iterator(testing::DataDir()))
        if (entry.path().extension() == ".rtf") {
            EXPECT_TRUE(checked.contains(entry.path().filename().string())) << entry.path();
        }
}

// Reading what we wrote gives back what we read.
TEST_P(SampleFile, SurvivesRewriting) {
    const RichText doc = ReadZrt(testing::ReadBytes(testing::DataDir() / GetParam().file));
    EXPECT_EQ(ReadZrt(WriteZrt(doc)), doc);
}

}  // namespace
}  // namespace zr::formats
