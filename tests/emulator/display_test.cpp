// The display model, number texts, print lists and the number entry.
#include <cctype>
#include <limits>
#include <string>
#include <string_view>

#include "device_fixture.h"
#include "emulator/number_text.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

TEST(Display, PrintAdvancesAndWrapsOnTheSameLine) {
    Display display;
    display.Print("x");
    EXPECT_EQ(display.Line(1), "x               ");
    EXPECT_EQ(display.cursorColumn(), 2);
    display.Locate(2, 15);
    display.Print("abcd");
    EXPECT_EQ(display.Line(2), "              ab");
    EXPECT_EQ(display.cursorColumn(), 19);
    display.Print("z");
    EXPECT_EQ(display.Line(2), "z             ab");
}

// A test name made of a number text: '-' becomes m, '.' p, "&h" hex, blanks
// between characters _, and any other character is left out.
std::string TestName(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "blank";
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.starts_with("&h")) return "hex" + TestName(text.substr(2));
    std::string name;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (c == '-')
            name += 'm';
        else if (c == '.')
            name += 'p';
        else if (c == ' ')
            name += '_';
    }
    return name;
}

struct Num {
    float value;
    const char *decimal, *hex, *trace;
};
class NumberTexts : public ::testing::TestWithParam<Num> {};
TEST_P(NumberTexts, Format) {
    const Num& c = GetParam();
    EXPECT_EQ(FormatDecimal(c.value), c.decimal);
    EXPECT_EQ(FormatHex(c.value).value_or("none"), c.hex);
    EXPECT_EQ(FormatTraceNumber(c.value), c.trace);
}
INSTANTIATE_TEST_SUITE_P(
    Table, NumberTexts,
    ::testing::Values(Num{5, "5", "5", " 5"}, Num{-3.5f, "-3.5", "FFFFFFFC", "-3.5"},
                      Num{0.25f, "0.25", "0", " .25"}, Num{1.0f / 3, "0.3333333", "0", " .3333333"},
                      Num{12345678, "1.234568E+07", "BC614E", " 1.234568E+07"},
                      Num{10000000, "1E+07", "989680", " 1E+07"},
                      Num{9999999, "9999999", "98967F", " 9999999"}, Num{0, "0", "0", " 0"},
                      Num{2.5f, "2.5", "2", " 2.5"}, Num{3.5f, "3.5", "4", " 3.5"},
                      Num{-1, "-1", "FFFFFFFF", "-1"}, Num{0.001f, "0.001", "0", " .001"},
                      Num{-2.5e-7f, "-2.5E-07", "0", "-2.5E-07"},
                      Num{3e9f, "3E+09", "none", " 3E+09"}),
    [](const auto& info) { return TestName(info.param.decimal); });

TEST(NumberTexts, DecimalSeparatorComesFromTheCaller) {
    EXPECT_EQ(FormatDecimal(-0.75f, ','), "-0,75");
}

struct Entry {
    const char* entry;
    double value;
};
class EntryTexts : public ::testing::TestWithParam<Entry> {};
TEST_P(EntryTexts, Read) {
    EXPECT_EQ(ReadEntryNumber(GetParam().entry), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(
    Table, EntryTexts,
    ::testing::Values(Entry{"  12.5          ", 12.5}, Entry{" -5             ", -5},
                      Entry{"&hFFFF          ", -1}, Entry{"&h7FFF          ", 32767},
                      Entry{"&hFFFFFFFF      ", -1}, Entry{"&h1F            ", 31},
                      Entry{"                ", 0}, Entry{"  1 2           ", 12},
                      Entry{"  1.2.3         ", 1.2}),
    [](const auto& info) { return TestName(info.param.entry); });

struct Input {
    const char *name, *keys;
    int hexMode;
    float value;
    const char* line2;
};
class NumberEntry : public ::testing::TestWithParam<Input> {};
TEST_P(NumberEntry, ReadsTheKeys) {
    const Input& c = GetParam();
    Device d(c.keys);
    d.m.hexMode = c.hexMode;
    EXPECT_EQ(d.emulator.InputNumber(kNoCode), c.value);
    EXPECT_EQ(d.Line(2), c.line2);
    EXPECT_EQ(d.emulator.shiftLevel, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Table, NumberEntry,
    ::testing::Values(Input{"erase", "1,2,left,enter", 0, 1, "  1             "},
                      Input{"hex_digit_turns_hex", "1,F,5,enter", 0, 31, "  1F            "},
                      Input{"hex_mode_FFFF", "F,5,F,5,F,5,F,5,enter", 1, -1, "  FFFF          "},
                      Input{"minus_after_left", "left,minus,5,enter", 0, -5, " -5             "},
                      Input{"minus_first_is_blank", "minus,5,enter", 0, 5, "   5            "},
                      Input{"empty", "enter", 0, 0, "                "},
                      Input{"comma_point", "3,comma,2,5,enter", 0, 3.25f, "  3.25          "},
                      Input{"fifteenth_ignored", "1,2,3,4,5,6,7,8,9,1,2,3,4,5,6,enter", 0,
                            12345678912345.0f, "  12345678912345"}),
    kByName);

TEST(NumberEntry, GivesUpWhenTheRunEnds) {
    Device d;  // no keys: the headless host ends the run at the first wait
    d.emulator.InputNumber(kNoCode);
    EXPECT_TRUE(d.emulator.endRequested);
    EXPECT_EQ(d.Stop(), StopReason::WaitingForInput);
}

struct Print {
    const char *name, *line1, *line2;
    Code code;
};
class PrintLists : public ::testing::TestWithParam<Print> {};
TEST_P(PrintLists, Show) {  // over a line 1 full of '#', with Single 1 = 2.5
    const Print& c = GetParam();
    Device d;
    d.emulator.ClearDisplay();
    d.emulator.PrintText("################");
    d.m.singles[1] = 2.5f;
    d.RunCode(c.code);
    EXPECT_EQ(d.RunState(), kRunning);
    EXPECT_EQ(d.Line(1), c.line1);
    EXPECT_EQ(d.Line(2), c.line2);
}
constexpr const char* kHashes = "################";
constexpr const char* kBlank = "                ";
INSTANTIATE_TEST_SUITE_P(
    Table, PrintLists,
    ::testing::Values(
        Print{"clear_locate", "    A           ", kBlank, Ops(kPrint, 3, 1, 0xC5, 'A')},
        Print{"locate_line2", kHashes, "    B           ", Ops(kPrint, 3, 1, 0x05, 'B')},
        Print{"column_bits_only", "C###############", kBlank, Ops(kPrint, 3, 1, 0x50, 'C')},
        Print{"number_item", kHashes, " 2.5            ", Ops(kPrint, 4, 1, 0x02, 4, 1)},
        Print{"empty", kHashes, kBlank, Ops(kPrint, 0)},
        Print{"PrtX", kHashes, "12.25           ", Ops(PushSingle(12.25f), kPrtX)},
        Print{"hex_mode", kHashes, "FFFFFF01        ",
              Ops(kHex16, PushSingle(3.5f), kPrtX, PushByte(255), kNeg, kPrtX)}),
    kByName);

TEST(MessageTables, ShowTheChosenTextOrReadANumber) {
    Device d("4,2,enter");
    // 1: PushByte 2; Call 20; 6: PushByte -2; Call 20. 20: Table messages 2: "One" "Two"
    d.Put(20, Ops(kTable, 0x82, 'O', 'n', 'e', 0, 'T', 'w', 'o', 0));
    d.Load(Ops(PushByte(2), 0xF1, Word(20), PushByte(2), kNeg, 0xF1, Word(20)));
    d.StepUntil(6);
    EXPECT_EQ(d.Line(1), "Two             ");
    d.StepUntil(13);  // the negative selector also reads a number
    EXPECT_EQ(d.X(), 42);
}

// The selector is rounded first, to the nearest whole number with ties to even, and the range
// 1..count is tested on the rounded value: m := byte(|i|).
struct Selector {
    const char* name;
    float value;
    int messages;       // 1: "A"; 2: "One", "Two"
    const char* shown;  // the text on line 1, or nullptr: error 38
};
class MessageSelector : public ::testing::TestWithParam<Selector> {};
TEST_P(MessageSelector, IsRoundedBeforeTheRangeTest) {
    const Selector& c = GetParam();
    Device d("4,2,enter");  // a negative selector then reads 42
    d.Put(20, c.messages == 1 ? Ops(kTable, 0x81, 'A', 0)
                              : Ops(kTable, 0x82, 'O', 'n', 'e', 0, 'T', 'w', 'o', 0));
    d.Load(Ops(PushSingle(c.value), 0xF1, Word(20), kNop));
    d.StepUntil(9);  // back from the call
    if (c.shown == nullptr) {
        EXPECT_EQ(d.RunState(), kErrorTableIndex);
        return;
    }
    EXPECT_EQ(d.RunState(), kRunning);
    EXPECT_EQ(d.m.ProgramCounter(), 9);
    EXPECT_EQ(d.Line(1).substr(0, std::string_view(c.shown).size()), c.shown);
    if (c.value < 0) {
        EXPECT_EQ(d.X(), 42);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Table, MessageSelector,
    ::testing::Values(
        Selector{"one_1p4", 1.4f, 1, "A"}, Selector{"one_0p6", 0.6f, 1, "A"},
        Selector{"one_0p5_is_0", 0.5f, 1, nullptr}, Selector{"one_1p5_is_2", 1.5f, 1, nullptr},
        Selector{"one_m1p4", -1.4f, 1, "A"}, Selector{"one_m0p5_is_0", -0.5f, 1, nullptr},
        Selector{"one_m0p6", -0.6f, 1, "A"}, Selector{"two_2p5", 2.5f, 2, "Two"},
        Selector{"two_m2p5", -2.5f, 2, "Two"}, Selector{"two_1p5", 1.5f, 2, "Two"},
        Selector{"two_m1p5", -1.5f, 2, "Two"}, Selector{"two_1p4999", 1.4999f, 2, "One"},
        Selector{"two_2p5001_is_3", 2.5001f, 2, nullptr},
        Selector{"two_m2p6_is_3", -2.6f, 2, nullptr}, Selector{"two_0", 0.0f, 2, nullptr},
        Selector{"two_3e9", 3e9f, 2, nullptr},
        Selector{"two_NaN", std::numeric_limits<float>::quiet_NaN(), 2, nullptr}),
    kByName);

TEST(InputInstruction, ShowsItsListThenReadsANumber) {
    Device d("7,enter");
    d.RunCode(Ops(kInput, 2, 'N', '?'));
    EXPECT_EQ(d.Line(1), "N?            aD");
    EXPECT_EQ(d.X(), 7);
}

}  // namespace
}  // namespace zr::emulator::testing
