// Mod, LoadElement, StoreElement, Loop and the compares with 0: the dispatch does the Single and
// Integer cases on its registers and leaves the rest, faults included, to
// the instruction groups. Each case runs its code over a pushed stack to its
// end and checks what it leaves: the run state, the stack, LastX, the
// registers and the variable written.
#include <cmath>
#include <limits>

#include "device_fixture.h"
#include "machine/encodings.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

constexpr std::uint8_t kS1 = 1, kI1 = 129;

struct Case {
    const char* name;
    Code code;
    std::vector<float> stack;  // pushed in order: the last is X
    int runState = kRunning;
    int stackPointer = 0;
    float x = 0;  // the top after it (running only)
    float lastX = 0;
    float (*stored)(const MachineState&) = nullptr;  // the variable it writes, if any
    float expectedStored = 0;
};

class InlineGroups : public ::testing::TestWithParam<Case> {};

TEST_P(InlineGroups, LeaveTheDevicesState) {
    const Case& c = GetParam();
    Device d;
    d.m.singles[3] = 2.5f;
    d.m.integers[2] = -12;
    d.m.integers[1] = 77;
    d.m.integers[3] = 32767;
    d.m.singles[4] = 40000;
    d.RunCode(c.code, c.stack);
    EXPECT_EQ(d.RunState(), c.runState);
    EXPECT_EQ(d.m.ProgramCounter(), 1 + static_cast<int>(c.code.size()));
    EXPECT_EQ(d.m.stackPointer, c.stackPointer);
    if (c.runState == kRunning) {
        EXPECT_EQ(d.X(), c.x);
        EXPECT_EQ(d.m.lastX, c.lastX);
    }
    if (c.stored) {
        EXPECT_EQ(c.stored(d.m), c.expectedStored);
    }
}

float Single3(const MachineState& m) {
    return m.singles[3];
}
float Integer1(const MachineState& m) {
    return m.integers[1];
}
float Integer3(const MachineState& m) {
    return m.integers[3];
}

// Nop, then a counted Loop over Integer `i` back to the Nop.
Code CountedLoop(int form, int limitWord) {
    return Ops(kNop, kLoop, form, 2, Word(limitWord));
}

INSTANTIATE_TEST_SUITE_P(
    Table, InlineGroups,
    ::testing::Values(
        Case{"LoadASingle", Ops(kLoadElement, kS1), {7, 3}, kRunning, 3, 2.5f, 7},
        Case{"LoadAnInteger", Ops(kLoadElement, kI1), {7, 2}, kRunning, 3, -12, 7},
        // 2.5 rounds to the even 2: the second Integer.
        Case{"LoadRoundsTheIndex", Ops(kLoadElement, kI1), {7, 2.5f}, kRunning, 3, -12, 7},
        Case{"LoadBeyondVariable255", Ops(kLoadElement, 200), {7, 100}, kErrorElementNumber, 2},
        Case{"LoadBeforeVariable0", Ops(kLoadElement, kS1), {7, -1}, kErrorElementNumber, 2},
        Case{
            "LoadIndexNoWholeNumber", Ops(kLoadElement, kS1), {7, 1e12f}, kErrorConversionRange, 2},
        Case{"StoreASingle",
             Ops(kStoreElement, kS1),
             {9, 4.5f, 3},
             kRunning,
             2,
             9,
             4.5f,
             Single3,
             4.5f},
        Case{"StoreAnIntegerRounds",
             Ops(kStoreElement, kI1),
             {9, 6.5f, 1},
             kRunning,
             2,
             9,
             6.5f,
             Integer1,
             6},
        Case{"StoreOverflowsAnInteger",
             Ops(kStoreElement, kI1),
             {9, 40000, 1},
             kErrorConversionRange,
             2,
             0,
             0,
             Integer1,
             77},
        Case{"StoreBeyondVariable255",
             Ops(kStoreElement, 250),
             {9, 1, 10},
             kErrorElementNumber,
             2,
             0,
             0,
             Integer1,
             77},
        Case{"StoreAnInfinityInASingle",
             Ops(kStoreElement, kS1),
             {9, std::numeric_limits<float>::infinity(), 3},
             kErrorFloatRange,
             2,
             0,
             0,
             Single3,
             2.5f},
        // The stack's name is done by the group: element 1 is the slot X was in.
        Case{"StoreIntoTheStack", Ops(kStoreElement, kOperandStack), {9, 5, 1}, kRunning, 2, 5, 5},
        Case{"Mod", Ops(kMod), {4, 7, 3}, kRunning, 3, 1, 4},
        Case{"ModHasTheSignOfTheDividend", Ops(kMod), {4, -7, 3}, kRunning, 3, -1, 4},
        Case{"ModRoundsBoth", Ops(kMod), {4, 7.6f, 2.5f}, kRunning, 3, 0, 4},
        Case{
            "ModOfTheLowestInt32ByMinusOne", Ops(kMod), {4, -2147483648.0f, -1}, kRunning, 3, 0, 4},
        Case{"ModByZero", Ops(kMod), {4, 7, 0}, kErrorZeroDivisor, 2},
        Case{"ModByWhatRoundsToZero", Ops(kMod), {4, 7, 0.4f}, kErrorZeroDivisor, 2},
        Case{"LoopCountsUp", CountedLoop(1, 80), {}, kRunning, 1, 0, 0, Integer1, 81},
        Case{"LoopCountsDown",
             CountedLoop(1 | kLoopDownOrEqual, 70),
             {},
             kRunning,
             1,
             0,
             0,
             Integer1,
             69},
        Case{"LoopLimitFromAnInteger",
             CountedLoop(1, kVariableWordBase + kI1 + 1),
             {},
             kRunning,
             1,
             0,
             0,
             Integer1,
             78},
        // 2.5 rounds to 2.
        Case{"LoopLimitFromASingle",
             CountedLoop(1 | kLoopDownOrEqual, kVariableWordBase + 3),
             {},
             kRunning,
             1,
             0,
             0,
             Integer1,
             1},
        Case{"LoopCounterOverflows",
             CountedLoop(3, 100),
             {},
             kErrorConversionRange,
             1,
             0,
             0,
             Integer3,
             32767},
        Case{"LoopLimitOverflows",
             CountedLoop(1, kVariableWordBase + 4),
             {},
             kErrorConversionRange,
             1,
             0,
             0,
             Integer1,
             77},
        // The compare form pops X and goes back (here to itself) while X is
        // not the limit, or, down-or-equal, while it is.
        Case{"LoopComparesUntilTheLimit", Ops(kLoop, 0, 1, Word(5)), {5, 9}, kRunning, 1, 0, 5},
        Case{"LoopComparesWhileEqual",
             Ops(kLoop, kLoopDownOrEqual, 1, Word(5)),
             {7, 5},
             kRunning,
             1,
             0,
             7},
        Case{"EqualZero", Ops(kEqualZero), {4, 0}, kRunning, 3, -1, 4},
        Case{"EqualZeroOfMinusZero", Ops(kEqualZero), {4, -0.0f}, kRunning, 3, -1, 4},
        Case{"NotEqualZeroOfANaN", Ops(kNotEqualZero), {4, std::nanf("")}, kRunning, 3, -1, 4},
        Case{"LessZero", Ops(kLessZero), {4, -0.5f}, kRunning, 3, -1, 4},
        Case{"LessEqualZero", Ops(kLessEqualZero), {4, 0.5f}, kRunning, 3, 0, 4},
        Case{"GreaterZero", Ops(kGreaterZero), {4, 0}, kRunning, 3, 0, 4},
        Case{"GreaterEqualZero", Ops(kGreaterEqualZero), {4, 0}, kRunning, 3, -1, 4},
        Case{"ModOfNoWholeNumber", Ops(kMod), {4, 1e12f, 3}, kErrorConversionRange, 2}),
    kByName);

// Mod leaves Y in the operand register and the remainder in the result
// register; a compare with 0, X and the truth value.
TEST(InlineGroups, RegistersAfterModAndACompare) {
    Device d;
    d.RunCode(Ops(kMod), {-9, 4});
    EXPECT_EQ(d.m.operandRegister, -9);
    EXPECT_EQ(d.m.resultRegister, -1);
    d.RunCode(Ops(kGreaterZero), {3});
    EXPECT_EQ(d.m.operandRegister, 3);
    EXPECT_EQ(d.m.resultRegister, -1);
}

}  // namespace
}  // namespace zr::emulator::testing
