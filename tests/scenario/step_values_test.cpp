// The value forms of scenario files: what each accepts, what it makes of
// it, and what it refuses.
#include "scenario/step_values.h"

#include <gtest/gtest.h>

#include "emulator/io_model.h"

namespace zr::scenario {
namespace {

struct DurationCase {
    const char* text;
    std::uint64_t perTick;
    std::optional<std::uint64_t> instructions;
};

const DurationCase kDurations[] = {
    {"100000 instr", 10000, 100000},
    {"42", 10000, 42},
    {"7 instructions", 10000, 7},
    {"7instr", 10000, 7},
    {"2s", 10000, 200000},
    {"1.5s", 1000, 15000},
    {"500ms", 10000, 50000},
    {"1ms", 10000, 100},
    {"1ms", 3, 1},  // a part of a tick still runs one instruction
    {" 3 s ", 10, 300},
    {"0", 10000, std::nullopt},
    {"0s", 10000, std::nullopt},
    {"1.5 instr", 10000, std::nullopt},
    {"-2s", 10000, std::nullopt},
    {"2 min", 10000, std::nullopt},
    {"s", 10000, std::nullopt},
    {"", 10000, std::nullopt},
    {"1e30 instr", 10000, std::nullopt},
};

TEST(StepValues, Durations) {
    for (const auto& c : kDurations)
        EXPECT_EQ(ParseDuration(c.text, c.perTick), c.instructions)
            << "'" << c.text << "' at " << c.perTick;
}

TEST(StepValues, WholeNumbersAndNumbers) {
    EXPECT_EQ(ParseWhole("255"), 255);
    EXPECT_EQ(ParseWhole("0x35"), 0x35);
    EXPECT_EQ(ParseWhole("0XfF"), 255);
    EXPECT_EQ(ParseWhole("-3"), -3);
    EXPECT_EQ(ParseWhole("3.0"), std::nullopt);
    EXPECT_EQ(ParseWhole("0x"), std::nullopt);
    EXPECT_EQ(ParseWhole("12abc"), std::nullopt);
    EXPECT_EQ(ParseNumber("12.5"), 12.5);
    EXPECT_EQ(ParseNumber("+1e3"), 1000.0);
    EXPECT_EQ(ParseNumber("-0.25"), -0.25);
    EXPECT_EQ(ParseNumber("1,5"), std::nullopt);
    EXPECT_EQ(ParseNumber("inf"), std::nullopt);
    EXPECT_EQ(ParseNumber("nan"), std::nullopt);
}

TEST(StepValues, KeysAndTypedNumbers) {
    EXPECT_EQ(ParseKey("enter")->keyIndex, 15);
    EXPECT_EQ(ParseKey(" 7 ")->keyIndex, 7);
    EXPECT_EQ(ParseKey("run1")->action, emulator::ScriptAction::RunFrom1);
    EXPECT_EQ(ParseKey("tick")->action, emulator::ScriptAction::Tick);
    for (const char* refused : {"", "Enter", "10", "@5:enter", "enter,enter", "seven"})
        EXPECT_FALSE(ParseKey(refused)) << refused;

    const auto typed = ParseTypedText("-1.5,2");
    ASSERT_TRUE(typed);
    std::vector<int> indices;
    for (const auto& key : *typed) indices.push_back(key.keyIndex);
    EXPECT_EQ(indices, (std::vector<int>{11, 1, 10, 5, 10, 2}));
    EXPECT_FALSE(ParseTypedText(""));
    EXPECT_FALSE(ParseTypedText("1e5"));
    EXPECT_FALSE(ParseTypedText("1 2"));
}

TEST(StepValues, PinNames) {
    EXPECT_EQ(ParsePinName("WE"), emulator::kPinWE);
    EXPECT_EQ(ParsePinName("CE"), emulator::kPinCE);
    EXPECT_EQ(ParsePinName("P0"), 0);
    EXPECT_EQ(ParsePinName("D7"), 7);
    for (const char* refused : {"P8", "we", "P", "ADC1", "P01", ""})
        EXPECT_FALSE(ParsePinName(refused)) << refused;
}

}  // namespace
}  // namespace zr::scenario
