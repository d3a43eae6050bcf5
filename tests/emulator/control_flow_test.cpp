// Stack instructions, calls, jumps, returns, segments and inline tables.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

TEST(ValueStack, SeventeenPushesOverwriteTheOldest) {
    Device d;
    Code code;
    for (int i = 1; i <= 17; ++i) code << PushByte(i);
    d.RunCode(code);
    std::vector<float> popped;
    for (int i = 0; i < 16; ++i) popped.push_back(d.emulator.machine.PopValue());
    EXPECT_EQ(popped.front(), 17);
    EXPECT_EQ(popped.back(), 2);
}

struct StackCase {
    const char* name;
    std::vector<float> slots;  // slots 1..n after pushing; StackPointer = n
    Code code;
    std::vector<float> expected;  // slots 1..m afterwards, StackPointer = m
    int error = 0;
};

class StackOps : public ::testing::TestWithParam<StackCase> {};

TEST_P(StackOps, Rearranges) {
    const StackCase& c = GetParam();
    Device d;
    d.Load(c.code);
    auto& m = d.emulator.machine;
    m.stackPointer = static_cast<int>(c.slots.size());
    for (std::size_t i = 0; i < c.slots.size(); ++i) m.valueStack[i + 1] = c.slots[i];
    d.StepUntil(1 + static_cast<int>(c.code.bytes.size()));
    if (c.error) {
        EXPECT_EQ(d.RunState(), c.error);
        return;
    }
    ASSERT_EQ(m.stackPointer, static_cast<int>(c.expected.size()));
    for (std::size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_EQ(m.valueStack[i + 1], c.expected[i]) << "slot " << i + 1;
}

// Rol takes two values off first (its page's PopPair step): slots 1..3 hold a, b, c.
INSTANTIATE_TEST_SUITE_P(
    Table, StackOps,
    ::testing::Values(
        StackCase{"Rol_up", {1, 2, 3, 8, 9}, Code{} << kRol << 0x01, {3, 1, 2}},
        StackCase{"Rol_down", {1, 2, 3, 8, 9}, Code{} << kRol << 0x81, {2, 3, 1}},
        StackCase{"Rol_twice", {1, 2, 3, 8, 9}, Code{} << kRol << 0x11, {2, 3, 1}},
        StackCase{"Rol_top_slot_exchanges", {1, 2, 3, 8, 9}, Code{} << kRol << 0x03, {1, 3, 2}},
        StackCase{"Rol_too_shallow", {1, 2, 3, 8, 9}, Code{} << kRol << 0x04, {}, kErrorStackDepth},
        StackCase{"Rol_slot_0", {1, 2, 3, 8, 9}, Code{} << kRol << 0x00, {}, kErrorStackDepth},
        StackCase{"DupN_1_is_Dup", {4, 5}, Code{} << kDupN << 1, {4, 5, 5}},
        StackCase{"SwapN_1_is_Swap", {4, 5}, Code{} << kSwapN << 1, {5, 4}},
        StackCase{"Swap", {4, 5}, Code{} << kSwap, {5, 4}},
        StackCase{"Dup2", {4, 5}, Code{} << kDup2, {4, 5, 4, 5}},
        StackCase{"Over", {1, 2, 3, 4}, Code{} << kOver, {4, 2, 3, 1}},
        StackCase{"Over_too_shallow", {1, 2, 3}, Code{} << kOver, {}, kErrorStackDepth},
        StackCase{"LoadElement_stack",
                  {7, 8, 9},
                  Code{} << PushByte(2) << kLoadElement << 0xFC,
                  {7, 8, 9, 8}},
        StackCase{"StoreElement_stack",
                  {7, 8, 9},
                  Code{} << PushByte(6) << PushByte(3) << kStoreElement << 0xFC,
                  {6, 8, 9}},
        StackCase{"LoadElement_stack_below_1",
                  {7, 8},
                  Code{} << PushByte(3) << kLoadElement << 0xFC,
                  {},
                  kErrorStackSlot}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueStack, DupNWrapsTheRing) {
    Device d;
    d.Load(Code{} << kDupN << 3);
    auto& m = d.emulator.machine;
    m.stackPointer = 2;
    m.valueStack[16] = 42;
    d.emulator.Step();
    EXPECT_EQ(m.X(), 42);
}

TEST(Calls, ThirtyThirdLevelFailsWithError10) {
    Device d;
    d.Load(Code{} << 0xF1 << Word(1));  // calls itself forever
    d.StepUntil(-1, 100);
    EXPECT_EQ(d.RunState(), kErrorDivideOrCallDepth);
    EXPECT_EQ(d.emulator.machine.returnPointer, kReturnStackSize);
}

TEST(Calls, RetAtTheBottomGivesError11) {
    Device d;
    d.RunCode(Code{} << kRet);
    EXPECT_EQ(d.RunState(), kErrorSqrtOrReturn);
}

TEST(Calls, RetNLimits) {
    Device zero;
    zero.RunCode(Code{} << PushByte(0) << kRetN);
    EXPECT_EQ(zero.RunState(), kRunning);
    EXPECT_EQ(zero.emulator.machine.returnPointer, 1);
    Device all;
    all.RunCode(Code{} << PushByte(1) << kRetN);  // equal to ReturnPointer
    EXPECT_EQ(all.RunState(), kErrorRetN);
}

TEST(Calls, CallAndReturnResumeAfterTheCall) {
    Device d;
    // 1: Call 10; 4: PushByte 2; 6: End ... 10: PushByte 7; Ret
    d.Load(Code{} << 0xF1 << Word(10) << PushByte(2) << kEnd << 0 << 0 << 0 << PushByte(7) << kRet);
    d.StepUntil(-1);
    EXPECT_EQ(d.RunState(), kStopped);
    EXPECT_EQ(d.emulator.machine.valueStack[2], 7);
    EXPECT_EQ(d.X(), 2);
}

TEST(Jumps, ConditionalJumpWithZeroConsumesItsOperands) {
    Device d;
    d.RunCode(Code{} << PushByte(0) << 0xFD << Word(500) << PushByte(9));
    EXPECT_EQ(d.X(), 9);
    // AddressMode 2: the variable number sits above the condition and is popped too.
    Device e;
    e.RunCode(Code{} << PushByte(0) << PushByte(3) << 0xFE << PushByte(9));
    EXPECT_EQ(e.emulator.machine.stackPointer, 2);
    EXPECT_EQ(e.X(), 9);
}

TEST(Jumps, ShortOffset129IsTheNextInstruction) {
    Device d;
    d.RunCode(Code{} << 0xF4 << 129 << PushByte(9));
    EXPECT_EQ(d.X(), 9);
}

TEST(Jumps, ComputedTargetsAreRangeChecked) {
    Device shortBack;
    shortBack.RunCode(Code{} << 0xF4 << 0);  // 129 bytes back from 3
    EXPECT_EQ(shortBack.RunState(), kErrorJumpTarget);
    Device fromX;
    fromX.RunCode(Code{} << PushInt(256) << 0xF6);
    EXPECT_EQ(fromX.RunState(), kErrorJumpVariable);
    Device fromVariable;
    fromVariable.emulator.machine.integers[1] = 2000;
    fromVariable.RunCode(Code{} << 0xF7 << 129);
    EXPECT_EQ(fromVariable.RunState(), kErrorJumpTarget);
    Device absoluteNegative;
    absoluteNegative.RunCode(Code{} << 0xF5 << Word(-5) << kNop);
    EXPECT_EQ(absoluteNegative.RunState(), kErrorAddressRange);  // at the next fetch
}

TEST(InlineTables, OnXChoosesAValueOrSkips) {
    const Code table = Code{} << kOnX << 0x83 << Word(10) << Word(20) << Word(30) << PushByte(1);
    Device two;
    two.RunCode(Code{} << PushByte(2) << table.bytes);
    EXPECT_EQ(two.emulator.machine.valueStack[2], 20);
    EXPECT_EQ(two.X(), 1);
    Device four;
    four.RunCode(Code{} << PushByte(5) << PushByte(4) << table.bytes);
    EXPECT_EQ(four.emulator.machine.stackPointer, 3);  // 5, then the 1 after the table
    EXPECT_EQ(four.emulator.machine.valueStack[2], 5);
}

TEST(InlineTables, OnXSearchAndVariableWords) {
    Device search;
    search.RunCode(Code{} << PushByte(2) << kOnX << 0x03 << Word(7) << Word(2) << Word(9));
    EXPECT_EQ(search.X(), 2);  // position of the word 2
    Device variable;
    variable.emulator.machine.integers[3] = 77;
    variable.RunCode(Code{} << PushByte(1) << kOnX << 0x81 << Word(32500 + 131));
    EXPECT_EQ(variable.X(), 77);
}

TEST(InlineTables, ValueListLoopPushesEachWordThenFallsThrough) {
    Device d;
    // 1: Loop, value list of 3, back distance 1: the jump goes to 1 + 1 - 1, itself.
    d.Load(Code{} << kLoop << 0x13 << 1 << Word(10) << Word(20) << Word(30) << kEnd);
    d.StepUntil(-1, 10);
    EXPECT_EQ(d.RunState(), kStopped);
    auto& m = d.emulator.machine;
    EXPECT_EQ(m.stackPointer, 4);
    EXPECT_EQ(m.valueStack[2], 10);
    EXPECT_EQ(m.valueStack[3], 20);
    EXPECT_EQ(m.valueStack[4], 30);
    EXPECT_EQ(m.listPassCounter, 0);
}

TEST(InlineTables, CountedLoopRunsToItsLimit) {
    Device d;
    // 1: PushByte 1 (body); 3: Loop up i, back to 1, limit 5; 8: End
    d.Load(Code{} << PushByte(1) << kLoop << 0x01 << 3 << Word(5) << kEnd);
    d.StepUntil(-1);
    EXPECT_EQ(d.RunState(), kStopped);
    EXPECT_EQ(d.emulator.machine.integers[1], 6);
    EXPECT_EQ(d.emulator.machine.stackPointer, 7);  // slot 1 plus six passes (i from 0)
}

TEST(InlineTables, SegmentEndsAtItsReturnPoint) {
    // The run loop drops the segment level, so run it through RunLoop.
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    Device d(options);
    // 1: Segm 20, 24; 6: PushByte 9; 8: End. 20: PushByte 4; 22: PushByte 5; 24: End
    Code code = Code{} << kSegm << Word(20) << Word(24) << PushByte(9) << kEnd;
    d.Load(code);
    auto& img = d.emulator.machine.programImage;
    img[20] = kPushByte;
    img[21] = 4;
    img[22] = kPushByte;
    img[23] = 5;
    img[24] = kEnd;
    d.host.Run(d.emulator);
    EXPECT_EQ(d.emulator.machine.stackPointer, 4);
    EXPECT_EQ(d.emulator.machine.valueStack[2], 4);
    EXPECT_EQ(d.emulator.machine.valueStack[3], 5);
    EXPECT_EQ(d.X(), 9);
}

TEST(InlineTables, ByteAndIntegerTables) {
    Device bytes;
    // 1: PushByte 2; 3: Call 10; 6: End; 10: Table bytes 3: 11 22 33
    bytes.Load(Code{} << PushByte(2) << 0xF1 << Word(10) << kEnd);
    auto& img = bytes.emulator.machine.programImage;
    const std::uint8_t table[] = {kTable, 0x03, 11, 22, 33};
    std::copy(std::begin(table), std::end(table), img.begin() + 10);
    bytes.StepUntil(-1);
    EXPECT_EQ(bytes.RunState(), kStopped);
    EXPECT_EQ(bytes.X(), 22);

    Device index65;
    index65.Load(Code{} << PushByte(65) << kTable << 0x03 << 1 << 2 << 3);
    index65.StepUntil(-1);
    EXPECT_EQ(index65.RunState(), kErrorTableIndex);

    Device words;
    words.Load(Code{} << PushByte(2) << kTable << 0x42 << Word(-300) << Word(1234));
    words.emulator.machine.PushReturn(1);  // a caller to return to
    words.emulator.machine.returnStack[1] = 900;
    words.StepUntil(900);
    EXPECT_EQ(words.X(), 1234);
}

TEST(InlineTables, InitialisationTableFillsEachArea) {
    Device d;
    const auto one = SingleBytes(1.5f);
    d.RunCode(Code{} << kTable << 0xC3 << 130 << Word(-12) << 40 << 200 << 3
                     << std::vector<std::uint8_t>(one.begin(), one.end()) << PushByte(1));
    auto& m = d.emulator.machine;
    EXPECT_EQ(m.integers[2], -12);
    EXPECT_EQ(m.bytes[8], 200);
    EXPECT_EQ(m.singles[3], 1.5f);
    EXPECT_EQ(d.X(), 1);
}

}  // namespace
}  // namespace zr::emulator::testing
