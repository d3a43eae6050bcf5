// Arithmetic, logic and function instructions: results and faults.
#include <cmath>

#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct OpCase {
    const char* name;
    std::vector<float> stack;  // pushed in order: the last one is X
    std::uint8_t op;
    float expected;  // the top after the instruction
    int error = 0;   // RunState error code instead of a result
};

class NumericOps : public ::testing::TestWithParam<OpCase> {};

TEST_P(NumericOps, GivesResultOrError) {
    const OpCase& c = GetParam();
    Device d;
    d.Load(Code{} << c.op);
    for (float v : c.stack) d.emulator.machine.PushValue(v);
    const int depth = d.emulator.machine.stackPointer;
    d.emulator.Step();
    if (c.error) {
        EXPECT_EQ(d.RunState(), c.error);
        return;
    }
    EXPECT_EQ(d.RunState(), kRunning);
    EXPECT_FLOAT_EQ(d.X(), c.expected);
    (void)depth;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumericOps,
    ::testing::Values(
        OpCase{"Mod_7_3", {7, 3}, kMod, 1}, OpCase{"Mod_7_m3", {7, -3}, kMod, 1},
        OpCase{"Mod_m7_3", {-7, 3}, kMod, -1}, OpCase{"Mod_2p5_2", {2.5f, 2}, kMod, 0},
        OpCase{"Mod_by_0", {7, 0}, kMod, 0, kErrorZeroDivisor},
        OpCase{"Mod_min_by_m1", {-2147483648.0f, -1}, kMod, 0},
        OpCase{"Power_2_10", {2, 10}, kPower, 1024},
        OpCase{"Power_negative_base_fraction", {-8, 0.5f}, kPower, 0, kErrorPowerDomain},
        OpCase{"Power_zero_negative", {0, -1}, kPower, 0, kErrorPowerDomain},
        OpCase{"Power_overflow", {10, 50}, kPower, 0, kErrorFloatRange},
        OpCase{"Int_m0p5", {-0.5f}, kInt, -1}, OpCase{"Int_3p9", {3.9f}, kInt, 3},
        OpCase{"Int_m2p5", {-2.5f}, kInt, -3}, OpCase{"And", {6, 3}, kAnd, 2},
        OpCase{"Or", {6, 3}, kOr, 7}, OpCase{"XOr", {6, 3}, kXOr, 5},
        OpCase{"Not_0", {0}, kNot, -1}, OpCase{"Not_m1", {-1}, kNot, 0},
        OpCase{"Not_5", {5}, kNot, -6},
        OpCase{"Or_beyond_32_bits", {1e10f, 1}, kOr, 0, kErrorConversionRange},
        OpCase{"Sqr_m1", {-1}, kSqr, 0, kErrorSqrtOrReturn}, OpCase{"Sqr_9", {9}, kSqr, 3},
        OpCase{"Divide_0_by_5", {0, 5}, kDivide, 0},
        OpCase{"Divide_by_0", {5, 0}, kDivide, 0, kErrorDivideOrCallDepth},
        OpCase{"Subtract", {10, 4}, kSubtract, 6}, OpCase{"Add", {10, 4}, kAdd, 14},
        OpCase{"Multiply_overflow", {1e38f, 10}, kMultiply, 0, kErrorFloatRange},
        OpCase{"Reciprocal_0", {0}, kReciprocal, 0, kErrorZeroDivisor},
        OpCase{"Reciprocal_4", {4}, kReciprocal, 0.25f},
        OpCase{"Log_0", {0}, kLog, 0, kErrorLogDomain}, OpCase{"Log_e", {2.718281828f}, kLog, 1},
        OpCase{"GreaterZero_0", {0}, kGreaterZero, 0},
        OpCase{"GreaterEqualZero_0", {0}, kGreaterEqualZero, -1},
        OpCase{"Between_inside", {5, 1, 5}, kBetween, -1},  // Z=5, Y=1, X=5
        OpCase{"Between_outside", {6, 1, 5}, kBetween, 0},
        OpCase{"ASin_is_Neg", {0.5f}, kASin, -0.5f}, OpCase{"ATan_is_Neg", {2}, kATan, -2},
        OpCase{"BynRol_right", {1, 0x81}, kBynRol, 0xC0},
        OpCase{"BynRol_left", {-1, 0x81}, kBynRol, 0x03},
        OpCase{"BynRol_zero", {0, 0x81}, kBynRol, 0x81},
        OpCase{"BynRol_fraction_rounds", {0.4f, 0x81}, kBynRol, 0x81},
        OpCase{"Less", {1, 2}, kLess, -1}, OpCase{"NotEqual", {2, 2}, kNotEqual, 0},
        OpCase{"Grad", {3.14159f}, kGrad, 180}, OpCase{"Square", {-3}, kSquare, 9},
        OpCase{"Unassigned_13", {1, 2}, 0x13, 0, kErrorUnassignedOpcode},
        OpCase{"Unassigned_3E", {1}, 0x3E, 0, kErrorUnassignedOpcode},
        OpCase{"Unassigned_44", {1, 2}, 0x44, 0, kErrorUnassignedOpcode},
        OpCase{"Unassigned_5F", {1, 2}, 0x5F, 0, kErrorUnassignedOpcode}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumericOps, ErrorPushesNothing) {
    Device d;
    d.RunCode(Code{} << kSqr, {4, -1});
    EXPECT_EQ(d.RunState(), kErrorSqrtOrReturn);
    EXPECT_EQ(d.emulator.machine.stackPointer, 2);  // one value shorter
    EXPECT_FLOAT_EQ(d.X(), 4);
}

TEST(NumericOps, ConstantsArePushedTwiceOverX) {
    Device d;
    d.RunCode(Code{} << kPi, {7, 9});
    auto& m = d.emulator.machine;
    EXPECT_EQ(m.stackPointer, 4);
    EXPECT_FLOAT_EQ(m.valueStack[4], 3.14159f);
    EXPECT_FLOAT_EQ(m.valueStack[3], 3.14159f);
    EXPECT_FLOAT_EQ(m.valueStack[2], 7);
}

TEST(NumericOps, X1GivesTheTopBeforeTheLastPush) {
    Device d;
    d.RunCode(Code{} << PushByte(5) << PushByte(8) << kX1, {});
    EXPECT_FLOAT_EQ(d.X(), 5);
}

TEST(NumericOps, RndFollowsItsArgumentRules) {
    // The argument is the result the previous instruction left (Neg, Incr).
    const Code fixed = Code{} << PushByte(5) << kNeg << kRnd;
    Device a, b;
    a.RunCode(fixed);
    b.RunCode(Code{} << PushByte(1) << kIncr << kRnd << kIncr << kRnd << fixed.bytes);
    EXPECT_EQ(a.X(), b.X());  // a negative argument fixes the number
    EXPECT_TRUE(a.X() == 0 || a.X() == 1);

    // Zero gives the previous number again (Incr of -1 leaves 0 as result).
    Device c;
    c.RunCode(Code{} << PushByte(3) << kIncr << kRnd << PushByte(1) << kNeg << kIncr << kRnd);
    EXPECT_EQ(c.emulator.machine.valueStack[2], c.emulator.machine.valueStack[3]);
}

TEST(NumericOps, PeekPokeAndTheirAddressRange) {
    Device d;
    d.RunCode(Code{} << PushInt(1000) << PushInt(300) << kPoke << PushInt(1000) << kPeek);
    EXPECT_FLOAT_EQ(d.X(), 300 & 255);
    Device e;
    e.RunCode(Code{} << PushInt(900) << PushInt(-300) << kPoke2 << PushInt(900) << kPeek2);
    EXPECT_FLOAT_EQ(e.X(), -300);
    Device f;
    f.RunCode(Code{} << PushInt(1024) << kPeek2);
    EXPECT_EQ(f.RunState(), kErrorAddressRange);
    Device g;
    g.RunCode(Code{} << PushInt(-1) << PushByte(1) << kPoke);
    EXPECT_EQ(g.RunState(), kErrorAddressRange);
}

}  // namespace
}  // namespace zr::emulator::testing
