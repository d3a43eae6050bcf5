// The display model, number texts, print lists and the number entry.
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

struct NumberCase {
    float value;
    const char* decimal;
    const char* hex;
    const char* trace;
};

class NumberTexts : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTexts, Format) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatDecimal(c.value), c.decimal);
    EXPECT_EQ(FormatHex(c.value).value_or("none"), c.hex);
    EXPECT_EQ(FormatTraceNumber(c.value), c.trace);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberTexts,
    ::testing::Values(NumberCase{5, "5", "5", " 5"}, NumberCase{-3.5f, "-3.5", "FFFFFFFC", "-3.5"},
                      NumberCase{0.5f, "0.5", "0", " .5"}, NumberCase{0.25f, "0.25", "0", " .25"},
                      NumberCase{1.0f / 3, "0.3333333", "0", " .3333333"},
                      NumberCase{12345678, "1.234568E+07", "BC614E", " 1.234568E+07"},
                      NumberCase{10000000, "1E+07", "989680", " 1E+07"},
                      NumberCase{9999999, "9999999", "98967F", " 9999999"},
                      NumberCase{0, "0", "0", " 0"}, NumberCase{2.5f, "2.5", "2", " 2.5"},
                      NumberCase{3.5f, "3.5", "4", " 3.5"}, NumberCase{-1, "-1", "FFFFFFFF", "-1"},
                      NumberCase{0.001f, "0.001", "0", " .001"},
                      NumberCase{12.25f, "12.25", "C", " 12.25"},
                      NumberCase{-2.5e-7f, "-2.5E-07", "0", "-2.5E-07"},
                      NumberCase{3e9f, "3E+09", "none", " 3E+09"}));

TEST(NumberTexts, DecimalSeparatorComesFromTheCaller) {
    EXPECT_EQ(FormatDecimal(-0.75f, ','), "-0,75");
}

struct EntryCase {
    const char* entry;
    double value;
};
class EntryTexts : public ::testing::TestWithParam<EntryCase> {};
TEST_P(EntryTexts, Read) {
    EXPECT_EQ(ReadEntryNumber(GetParam().entry), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(
    Table, EntryTexts,
    ::testing::Values(EntryCase{"  12.5          ", 12.5}, EntryCase{" -5             ", -5},
                      EntryCase{"&hFFFF          ", -1}, EntryCase{"&h7FFF          ", 32767},
                      EntryCase{"&hFFFFFFFF      ", -1}, EntryCase{"&h1F            ", 31},
                      EntryCase{"                ", 0}, EntryCase{"  1 2           ", 12},
                      EntryCase{"  1.2.3         ", 1.2}));

// Keys as register indices: digits 0..9, 10 comma, 11 minus, 12 F, 13 left, 15 Enter.
struct InputCase {
    const char* name;
    const char* keys;
    int hexMode;
    float value;
    const char* line2;
};

class NumberEntry : public ::testing::TestWithParam<InputCase> {};

TEST_P(NumberEntry, ReadsTheKeys) {
    const InputCase& c = GetParam();
    HeadlessOptions options;
    options.keys = Keys(c.keys);
    Device d(options);
    d.emulator.machine.hexMode = c.hexMode;
    EXPECT_EQ(d.emulator.InputNumber(kNoCode), c.value);
    EXPECT_EQ(d.Line(2), c.line2);
    EXPECT_EQ(d.emulator.shiftLevel, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberEntry,
    ::testing::Values(
        InputCase{"erase", "1,2,left,enter", 0, 1, "  1             "},
        InputCase{"hex_digit_turns_hex", "1,F,5,enter", 0, 31, "  1F            "},
        InputCase{"hex_mode_FFFF", "F,5,F,5,F,5,F,5,enter", 1, -1, "  FFFF          "},
        InputCase{"minus_after_left", "left,minus,5,enter", 0, -5, " -5             "},
        InputCase{"minus_first_is_blank", "minus,5,enter", 0, 5, "   5            "},
        InputCase{"empty", "enter", 0, 0, "                "},
        InputCase{"comma_point", "3,comma,2,5,enter", 0, 3.25f, "  3.25          "},
        InputCase{"fifteenth_ignored", "1,2,3,4,5,6,7,8,9,1,2,3,4,5,6,enter", 0, 12345678912345.0f,
                  "  12345678912345"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberEntry, GivesUpWhenTheRunEnds) {
    Device d;  // no keys: the headless host ends the run at the first wait
    d.emulator.InputNumber(kNoCode);
    EXPECT_TRUE(d.emulator.endRequested);
    EXPECT_EQ(d.host.stopReason(), StopReason::WaitingForInput);
}

TEST(ShowStatus, ShowsLevelAndRadix) {
    Device d;
    d.emulator.shiftLevel = 1;
    d.emulator.machine.hexMode = 1;
    d.emulator.ShowStatus();
    EXPECT_EQ(d.Line(1).substr(14), "bH");
    EXPECT_EQ(d.emulator.display().cursorColumn(), 17);
}

struct PrintListCase {
    const char* name;
    Code code;
    const char* line1;
    const char* line2;
};

class PrintLists : public ::testing::TestWithParam<PrintListCase> {};

TEST_P(PrintLists, Show) {
    const PrintListCase& c = GetParam();
    Device d;
    d.emulator.ClearDisplay();
    d.emulator.PrintText("################");
    d.emulator.machine.singles[1] = 2.5f;
    d.RunCode(c.code);
    EXPECT_EQ(d.RunState(), kRunning);
    EXPECT_EQ(d.Line(1), c.line1);
    EXPECT_EQ(d.Line(2), c.line2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintLists,
    ::testing::Values(PrintListCase{"clear_locate_char", Code{} << kPrint << 3 << 1 << 0xC5 << 'A',
                                    "    A           ", "                "},
                      PrintListCase{"locate_line2", Code{} << kPrint << 3 << 1 << 0x05 << 'B',
                                    "################", "    B           "},
                      PrintListCase{"column_bits_only", Code{} << kPrint << 3 << 1 << 0x50 << 'C',
                                    "C###############", "                "},
                      PrintListCase{"number_item", Code{} << kPrint << 4 << 1 << 0x02 << 4 << 1,
                                    "################", " 2.5            "},
                      PrintListCase{"empty", Code{} << kPrint << 0, "################",
                                    "                "},
                      PrintListCase{"PrtX", Code{} << PushSingle(12.25f) << kPrtX,
                                    "################", "12.25           "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintLists, HexModeAndItsRange) {
    Device d;
    d.RunCode(Code{} << kHex16 << PushSingle(3.5f) << kPrtX << PushByte(255) << kNeg << kPrtX);
    EXPECT_EQ(d.Line(2), "FFFFFF01        ");
    Device e;
    e.RunCode(Code{} << kHex16 << PushSingle(3e9f) << kPrtX);
    EXPECT_EQ(e.RunState(), kErrorConversionRange);
}

TEST(MessageTables, ShowTheChosenTextAndReturn) {
    HeadlessOptions options;
    options.keys = Keys("4,2,enter");
    Device d(options);
    // 1: PushByte 2; 3: Call 20; 6: End. 20: Table messages 2: "One\0" "Two\0"
    d.Load(Code{} << PushByte(2) << 0xF1 << Word(20) << PushByte(2) << kNeg << 0xF1 << Word(20));
    const std::uint8_t table[] = {kTable, 0x82, 'O', 'n', 'e', 0, 'T', 'w', 'o', 0};
    std::copy(std::begin(table), std::end(table), d.emulator.machine.programImage.begin() + 20);
    d.StepUntil(6);
    EXPECT_EQ(d.Line(1), "Two             ");
    d.StepUntil(13);  // the negative selector also reads a number
    EXPECT_EQ(d.X(), 42);
    Device bad;
    bad.Load(Code{} << PushByte(3) << 0xF1 << Word(20));
    std::copy(std::begin(table), std::end(table), bad.emulator.machine.programImage.begin() + 20);
    bad.StepUntil(-1);
    EXPECT_EQ(bad.RunState(), kErrorTableIndex);
}

TEST(InputInstruction, ShowsItsListThenReadsANumber) {
    HeadlessOptions options;
    options.keys = Keys("7,enter");
    Device d(options);
    d.RunCode(Code{} << kInput << 2 << 'N' << '?');
    EXPECT_EQ(d.Line(1), "N?            aD");
    EXPECT_EQ(d.X(), 7);
}

}  // namespace
}  // namespace zr::emulator::testing
