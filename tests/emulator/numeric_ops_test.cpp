// Arithmetic, logic and function results, and every run error an
// instruction can raise.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct Op {
    const char* name;
    std::vector<float> stack;  // pushed in order: the last one is X
    std::uint8_t op;
    float expected;  // the top after the instruction
};
class NumericOps : public ::testing::TestWithParam<Op> {};
TEST_P(NumericOps, GiveTheirResult) {
    const Op& c = GetParam();
    Device d;
    d.RunCode(Ops(c.op), c.stack);
    EXPECT_EQ(d.RunState(), kRunning);
    EXPECT_FLOAT_EQ(d.X(), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Table, NumericOps,
    ::testing::Values(
        Op{"Mod_7_3", {7, 3}, kMod, 1}, Op{"Mod_7_m3", {7, -3}, kMod, 1},
        Op{"Mod_m7_3", {-7, 3}, kMod, -1}, Op{"Mod_2p5_2", {2.5f, 2}, kMod, 0},
        Op{"Mod_min_by_m1", {-2147483648.0f, -1}, kMod, 0}, Op{"Power_2_10", {2, 10}, kPower, 1024},
        Op{"Int_m0p5", {-0.5f}, kInt, -1}, Op{"Int_3p9", {3.9f}, kInt, 3},
        Op{"Int_m2p5", {-2.5f}, kInt, -3}, Op{"And", {6, 3}, kAnd, 2}, Op{"Or", {6, 3}, kOr, 7},
        Op{"XOr", {6, 3}, kXOr, 5}, Op{"Not_0", {0}, kNot, -1}, Op{"Not_5", {5}, kNot, -6},
        Op{"Sqr_9", {9}, kSqr, 3}, Op{"Divide_0_by_5", {0, 5}, kDivide, 0},
        Op{"Subtract", {10, 4}, kSubtract, 6}, Op{"Reciprocal_4", {4}, kReciprocal, 0.25f},
        Op{"Log_e", {2.718281828f}, kLog, 1}, Op{"GreaterZero_0", {0}, kGreaterZero, 0},
        Op{"GreaterEqualZero_0", {0}, kGreaterEqualZero, -1},
        Op{"Between_inside", {5, 1, 5}, kBetween, -1},  // Z=5, Y=1, X=5
        Op{"Between_outside", {6, 1, 5}, kBetween, 0}, Op{"ASin_is_Neg", {0.5f}, kASin, -0.5f},
        Op{"ATan_is_Neg", {2}, kATan, -2}, Op{"BynRol_right", {1, 0x81}, kBynRol, 0xC0},
        Op{"BynRol_left", {-1, 0x81}, kBynRol, 0x03}, Op{"BynRol_zero", {0, 0x81}, kBynRol, 0x81},
        Op{"BynRol_fraction_rounds", {0.4f, 0x81}, kBynRol, 0x81}, Op{"Less", {1, 2}, kLess, -1},
        Op{"NotEqual", {2, 2}, kNotEqual, 0}, Op{"Grad", {3.14159f}, kGrad, 180},
        Op{"Square", {-3}, kSquare, 9}),
    kByName);

TEST(NumericOps, RndFollowsItsArgumentRules) {
    // The argument is the result the previous instruction left (Neg, Incr).
    const Code fixed = Ops(PushByte(5), kNeg, kRnd);
    Device a, b;
    a.RunCode(fixed);
    b.RunCode(Ops(PushByte(1), kIncr, kRnd, kIncr, kRnd, fixed));
    EXPECT_EQ(a.X(), b.X());  // a negative argument fixes the number
    EXPECT_TRUE(a.X() == 0 || a.X() == 1);
    // Zero gives the previous number again (Incr of -1 leaves 0 as result).
    Device c;
    c.RunCode(Ops(PushByte(3), kIncr, kRnd, PushByte(1), kNeg, kIncr, kRnd));
    EXPECT_EQ(c.m.valueStack[2], c.m.valueStack[3]);
}

struct Fault {
    const char* name;
    Code code;  // run from 1
    int error;
    std::vector<float> stack{};  // pushed first
    Code at20{};                 // a subroutine or table at 20
    int depth = 0;               // StackPointer afterwards, 0: not checked
};
class RunErrors : public ::testing::TestWithParam<Fault> {};
TEST_P(RunErrors, StopTheRun) {
    const Fault& c = GetParam();
    Device d;
    d.Put(20, c.at20);
    d.RunCode(c.code, c.stack);
    EXPECT_EQ(d.RunState(), c.error);
    if (c.depth) {
        EXPECT_EQ(d.m.stackPointer, c.depth);
    }
}
const Code kMessages = Ops(kTable, 0x82, 'O', 'n', 'e', 0, 'T', 'w', 'o', 0);
INSTANTIATE_TEST_SUITE_P(
    Table, RunErrors,
    ::testing::Values(
        Fault{"Mod_by_0", Ops(kMod), kErrorZeroDivisor, {7, 0}},
        Fault{"Reciprocal_0", Ops(kReciprocal), kErrorZeroDivisor, {0}},
        Fault{"Power_m8_0p5", Ops(kPower), kErrorPowerDomain, {-8, 0.5f}},
        Fault{"Power_0_m1", Ops(kPower), kErrorPowerDomain, {0, -1}},
        Fault{"Power_overflow", Ops(kPower), kErrorFloatRange, {10, 50}},
        Fault{"Multiply_overflow", Ops(kMultiply), kErrorFloatRange, {1e38f, 10}},
        Fault{"Or_beyond_32_bits", Ops(kOr), kErrorConversionRange, {1e10f, 1}},
        Fault{"Sqr_m1_pushes_nothing", Ops(kSqr), kErrorSqrtOrReturn, {4, -1}, {}, 2},
        Fault{"Divide_by_0", Ops(kDivide), kErrorDivideOrCallDepth, {5, 0}},
        Fault{"Log_0", Ops(kLog), kErrorLogDomain, {0}},
        Fault{"Unassigned_13", Ops(0x13), kErrorUnassignedOpcode, {1, 2}},
        Fault{"Unassigned_3E", Ops(0x3E), kErrorUnassignedOpcode, {1}},
        Fault{"Unassigned_44", Ops(0x44), kErrorUnassignedOpcode, {1, 2}},
        Fault{"Unassigned_5F", Ops(0x5F), kErrorUnassignedOpcode, {1, 2}},
        // Stack slots 1..5 as 0, 2, 3, 8, 9: Rol takes two off first.
        Fault{"Rol_too_shallow", Ops(kRol, 0x04), kErrorStackDepth, {2, 3, 8, 9}},
        Fault{"Rol_slot_0", Ops(kRol, 0x00), kErrorStackDepth, {2, 3, 8, 9}},
        Fault{"Over_too_shallow", Ops(kOver), kErrorStackDepth, {2, 3}},
        Fault{"stack_element_below_1", Ops(PushByte(3), kLoadElement, 0xFC), kErrorStackSlot, {8}},
        Fault{"call_depth_33", Ops(0xF1, Word(1)), kErrorDivideOrCallDepth},
        Fault{"Ret_at_the_bottom", Ops(kRet), kErrorSqrtOrReturn},
        Fault{"RetN_every_level", Ops(PushByte(1), kRetN), kErrorRetN},
        Fault{"short_jump_before_1", Ops(0xF4, 0), kErrorJumpTarget},
        Fault{"jump_from_X_256", Ops(PushInt(256), 0xF6), kErrorJumpVariable},
        Fault{"jump_from_variable_2000", Ops(PushInt(2000), kMv, 129, 0xF7, 129), kErrorJumpTarget},
        Fault{"jump_negative_at_fetch", Ops(0xF5, Word(-5), kNop), kErrorAddressRange},
        Fault{"table_index_65", Ops(PushByte(65), kTable, 0x03, 1, 2, 3), kErrorTableIndex},
        Fault{"message_index_3", Ops(PushByte(3), 0xF1, Word(20)), kErrorTableIndex, {}, kMessages},
        Fault{"Peek2_1024", Ops(PushInt(1024), kPeek2), kErrorAddressRange},
        Fault{"Poke_m1", Ops(PushInt(-1), PushByte(1), kPoke), kErrorAddressRange},
        Fault{"hex_print_3E9", Ops(kHex16, PushSingle(3e9f), kPrtX), kErrorConversionRange},
        Fault{"plain_ADC_read", Ops(kiM, kOperandAdc), kErrorHardwareOperand},
        Fault{"plain_I2C_write", Ops(PushByte(1), kMv, kOperandI2C), kErrorHardwareOperand},
        Fault{"ADC_index_5", Ops(PushByte(5), kLoadElement, kOperandAdc), kErrorHardwareIndex},
        Fault{"I2C_index_0", Ops(PushByte(0), kLoadElement, kOperandI2C), kErrorHardwareIndex},
        Fault{"integer_40000", Ops(PushSingle(40000), kMv, 129), kErrorConversionRange},
        Fault{"element_beyond_255", Ops(PushByte(10), kLoadElement, 250), kErrorElementNumber},
        Fault{"load_indirect_256", Ops(PushInt(256), kMv, 130, kLoadIndirect, 130),
              kErrorLoadIndirect},
        Fault{"store_indirect_m1",
              Ops(PushByte(1), kNeg, kMv, 130, PushByte(1), kStoreIndirect, 130),
              kErrorStoreIndirect}),
    kByName);

TEST(RunErrors, SerialWithoutAnEndpoint) {
    struct NoSerial : HeadlessHost {
        using HeadlessHost::HeadlessHost;
        std::optional<std::string> SerialReadLine(Emulator&) override { return std::nullopt; }
    };
    DeviceOn<NoSerial> d;
    d.RunCode(Ops(kSerialInput));
    EXPECT_EQ(d.RunState(), kErrorSerialChannel);
}

}  // namespace
}  // namespace zr::emulator::testing
