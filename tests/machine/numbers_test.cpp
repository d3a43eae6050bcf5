#include "machine/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace zr::machine {
namespace {

TEST(ReadNumber, ReadsTheLongestNumberAtTheStart) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12},         {"3.25", 3.25}, {"-7", -7},        {"+7", 7},     {"1E5", 1e5},
        {"2.5E-3", 2.5e-3}, {"1E+5", 1e5},  {"12abc", 12},     {"&H1F", 31},  {"&h10", 16},
        {"&H", 0},          {"abc", 0},     {"", 0},           {"-", 0},      {".5", 0.5},
        {"5.", 5},          {"1E", 1},      {"1E-", 1},        {"1Ex", 1},    {"0.0", 0},
        {"1.2.3", 1.2},     {"-0", 0},      {"&HFFFF", 65535}, {"1e3", 1000},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << c.text;
}

TEST(HexDigitValue, BothCasesAndNothingElse) {
    const struct {
        char c;
        int value;
    } cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15}, {'A', 10}, {'F', 15},
                 {'g', -1}, {'G', -1}, {'/', -1}, {':', -1}, {'@', -1}, {' ', -1}};
    for (const auto& c : cases) EXPECT_EQ(HexDigitValue(c.c), c.value) << c.c;
}

// Out of the double's range, the value decides, not the exponent's sign: too
// large is infinite; too small (but not zero) is the smallest double, so the
// text stays a number.
TEST(ReadNumber, HugeAndTinyValues) {
    const std::string zeros(400, '0');
    const std::string huge[] = {"1E999", "1" + zeros + "E-10", "-1" + zeros, "0.001E99999999999"};
    const std::string tiny[] = {"1E-999", "0." + zeros + "1", zeros + "1E-800",
                                "1000E-99999999999999999999"};
    for (const auto& text : huge) EXPECT_TRUE(std::isinf(ReadNumber(text))) << text.size();
    for (const auto& text : tiny) {
        EXPECT_EQ(ReadNumber(text), std::numeric_limits<double>::denorm_min()) << text.size();
        EXPECT_TRUE(IsNumericText(text));
        EXPECT_EQ(static_cast<float>(ReadNumber(text)), 0.0f);
    }
    EXPECT_EQ(ReadNumber("-1E-999"), -std::numeric_limits<double>::denorm_min());
}

TEST(IsNumericText, ZeroOnlyWhenWrittenAsZero) {
    const struct {
        const char* text;
        bool numeric;
    } cases[] = {
        {"0", true},     {"0.0", false}, {"00", false},  {"-0", false},   {"abc", false},
        {"12abc", true}, {"&H1F", true}, {"&H0", false}, {"-1", true},    {"", false},
        {"1E5", true},   {"x1", false},  {".", false},   {"0x10", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumericText(c.text), c.numeric) << c.text;
}

TEST(RoundToRange, TiesToEvenThenBounds) {
    EXPECT_EQ(RoundToRange(2.5, 0, 10), 2);
    EXPECT_EQ(RoundToRange(3.5, 0, 10), 4);
    EXPECT_EQ(RoundToRange(-2.5, -10, 10), -2);
    EXPECT_EQ(RoundToRange(10.4, 0, 10), 10);
    EXPECT_FALSE(RoundToRange(10.6, 0, 10));
    EXPECT_FALSE(RoundToRange(std::nan(""), 0, 10));
}

}  // namespace
}  // namespace zr::machine
