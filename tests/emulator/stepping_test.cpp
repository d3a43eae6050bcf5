// Running instructions back to back must not change a run: each program
// here runs through the loop and single-stepping, and the two runs must
// match in every pin and display change, the stop, errors, serial output,
// count and final state. The programs aim at what the loop's checks between
// instructions look after.
#include "device_fixture.h"
#include "emulator/debugger.h"
#include "step_back_check.h"
#include "stepping_check.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

constexpr std::uint8_t kS1 = 1, kI1 = 129, kI2 = 130;

// s1 := s1 / 3 + 7; i1 := i1 + 1; until i1 = 30000, then i1 := 0; forever.
Code BusyLoop() {
    return Ops(kiM, kS1, PushByte(3), kDivide, PushByte(7), kAdd, kMv, kS1,  //  1..10
               kiM, kI1, kIncr, kMv, kI1, kiM, kI1, PushInt(30000), kLess,   // 11..21
               kGoToIfBase + 1, Word(1), PushByte(0), kMv, kI1, kGoToBase + 1, Word(1));
}

struct SteppingCase {
    const char* name;
    Code code;
    const char* keys;
    std::uint64_t maxInstructions = 20000;
    std::uint64_t instructionsPerTick = 10000;
    int counter = 0;  // an integer cell the program must have moved (events, segments)
};

class Stepping : public ::testing::TestWithParam<SteppingCase> {};

// Puts the case's program at 1, with the port inputs set.
std::function<void(Emulator&)> Loader(const SteppingCase& c) {
    return [&c](Emulator& e) {
        e.WriteProgram(1, c.code);
        e.io.portInputs = 0x5A;
    };
}

TEST_P(Stepping, MatchesSingleSteps) {
    const SteppingCase& c = GetParam();
    const HeadlessOptions options{Keys(c.keys), c.instructionsPerTick, c.maxInstructions, {"4"}};
    EXPECT_EQ(CompareWithStepping(options, Loader(c)), "");
    if (c.counter) {
        const RunRecord run = RecordRun(options, false, Loader(c));
        EXPECT_GT(run.machine.integers[c.counter], 0) << "the program never reached its counter";
    }
}

// Breakpoints whose pauses do nothing: the watched loop, its stops and the
// checks run again after each pause must leave the run exactly as it was.
TEST_P(Stepping, BreakpointsThatPauseForNothingChangeNothing) {
    const SteppingCase& c = GetParam();
    const HeadlessOptions options{Keys(c.keys), c.instructionsPerTick, c.maxInstructions, {"4"}};
    const auto load = Loader(c);
    const RunRecord plain = RecordRun(options, false, load);
    RecordingHost host(options, false);
    Emulator emulator(host);
    host.emulator = &emulator;
    load(emulator);
    {
        Debugger debugger(emulator, {});
        for (const int address : {0, 1, 2, 5, 9, 11, 17, 24, 100, 1000, 1023, 1024})
            debugger.AddBreakpoint(address);
        host.Run(emulator);
    }
    EXPECT_EQ(emulator.instructionCount(), plain.instructions);
    EXPECT_TRUE(host.events == plain.events);
    EXPECT_EQ(host.stopReason(), plain.stop);
    EXPECT_EQ(host.serialOut(), plain.serialOut);
    EXPECT_EQ(StateDifference(emulator.machine, plain.machine), "");
}

// Every instruction a stop: forward 60, back 30, forward 30 again. The host's
// virtual clock is not part of the device state, so no tick comes due.
TEST_P(Stepping, StepBackIsExact) {
    const SteppingCase& c = GetParam();
    const HeadlessOptions options{Keys(c.keys), 1'000'000'000, c.maxInstructions, {"4"}};
    EXPECT_EQ(CompareStepBack(options, Loader(c), {}, 60, 30), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Stepping,
    ::testing::Values(
        SteppingCase{"BusyLoopToTheLimit", BusyLoop(), "enter,enter"},
        // The stop key mid-loop, then a new start from the prompt.
        SteppingCase{"StopKeyAndRestart", BusyLoop(), "enter,enter,@5001:left,1,1,enter"},
        SteppingCase{"WindowCommands", BusyLoop(),
                     "enter,enter,@3000:run1,@6000:adr1,@9000:stop,enter,@12000:run,tick"},
        SteppingCase{"TimedKeysTheProgramIgnores", BusyLoop(), "enter,enter,@100:5,@101:6,@7000:F"},
        // Port writes and reads lower the strobes inside the loop.
        SteppingCase{"PortInTheLoop",
                     Ops(kiM, kI1, kIncr, kMv, kI1, kiM, kI1, kMv, kOperandPort, kiM, kOperandPort,
                         kMv, kS1, kGoToBase + 1, Word(1)),
                     "enter,enter"},
        // One port write, then a long loop with the strobes back up.
        SteppingCase{"PortWriteThenBusy",
                     Ops(PushByte(0x3C), kMv, kOperandPort, kiM, kI1, kIncr, kMv, kI1,
                         kGoToBase + 1, Word(5)),
                     "enter,enter", 5000},
        SteppingCase{"EndAfterCounting",
                     Ops(kiM, kI1, kIncr, kDup, kMv, kI1, PushByte(50), kLess, kGoToIfBase + 1,
                         Word(1), kEnd, kiM, kI2, kIncr, kMv, kI2, kGoToBase + 1, Word(1)),
                     "enter,enter"},
        // Mode 2 raises the program event by hand; its routine counts in i2.
        SteppingCase{
            "ModeRaisesTheEvent",
            Ops(kEvents, Word(20), PushByte(2), kMode, kiM, kI1, kIncr, kMv, kI1, kGoToBase + 1,
                Word(7), kNop, kNop, kNop, kNop, kNop, kiM, kI2, kIncr, kMv, kI2, kRet),
            "enter,enter", 5000, 10000, 2},
        // The timer event calls a routine that counts in i2.
        SteppingCase{"TimerEvents",
                     Ops(PushByte(1), kTimer, Word(14), kiM, kI1, kIncr, kMv, kI1, kGoToBase + 1,
                         Word(6), kiM, kI2, kIncr, kMv, kI2, kRet),
                     "enter,enter", 20000, 100, 2},
        // Division by zero once i1 counts down to 0: the error report, then a restart.
        SteppingCase{"FaultInTheLoop",
                     Ops(PushByte(40), kMv, kI1, kiM, kI1, kDecr, kMv, kI1, PushByte(1), kiM, kI1,
                         kDivide, kMv, kS1, kGoToBase + 1, Word(5)),
                     "enter,enter,enter,1,enter"},
        // Faults inside fused units: int16 overflow in iM; Incr; Mv, float
        // overflow in a load-constant-operate; the unit gives up and its first
        // instruction runs alone.
        SteppingCase{
            "FusedIncrementOverflowsAnInteger",
            Ops(PushInt(32700), kMv, kI1, kiM, kI1, kIncr, kMv, kI1, kGoToBase + 1, Word(6)),
            "enter,enter,enter,1,enter"},
        SteppingCase{"FusedMultiplyOverflowsAFloat",
                     Ops(PushInt(30000), kMv, kS1, kiM, kS1, PushByte(200), kMultiply, kMv, kS1,
                         kGoToBase + 1, Word(6)),
                     "enter,enter,enter,1,enter"},
        // i1 := i1 + 20000 faults on its store in the second pass.
        SteppingCase{"FusedStoreOverflowsAnInteger",
                     Ops(kiM, kI1, PushInt(20000), kAdd, kMv, kI1, kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        // s2 := s1 * 3 / i1 with i1 counting down from 3: the chain's second
        // operation divides by 0 in the third pass.
        SteppingCase{"ChainDividesByAZeroVariable",
                     Ops(PushByte(3), kMv, kI1, kiM, kI1, kDecr, kMv, kI1, kiM, kS1, PushByte(3),
                         kMultiply, kiM, kI1, kDivide, kMv, 2, kGoToBase + 1, Word(4)),
                     "enter,enter,enter,1,enter"},
        // i1 := i1 + 1; i(i1) := (s(i1) + i1 mod 7) * k until an element
        // faults: the int16 overflow at 6 with k = 6000, the element number
        // past variable 255 with k = 3.
        SteppingCase{"ElementStoreOverflowsAnInteger",
                     Ops(kiM, kI1, kIncr, kMv, kI1, kiM, kI1, kLoadElement, kS1, kiM, kI1,
                         PushByte(7), kMod, kAdd, PushInt(6000), kMultiply, kiM, kI1, kStoreElement,
                         kI1, kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        SteppingCase{
            "ElementNumberPastTheLastVariable",
            Ops(kiM, kI1, kIncr, kMv, kI1, kiM, kI1, kLoadElement, kS1, kiM, kI1, PushByte(7), kMod,
                kAdd, PushInt(3), kMultiply, kiM, kI1, kStoreElement, kI1, kGoToBase + 1, Word(1)),
            "enter,enter,enter,1,enter"},
        // A counted Loop over i1 from 32760 around s1 := s1 + 1 until the
        // counter overflows.
        SteppingCase{"LoopCounterOverflows",
                     Ops(PushInt(32760), kMv, kI1, kNop, kiM, kS1, kIncr, kMv, kS1, kLoop, 1, 7,
                         Word(32767), kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        // A Loop down to a Single limit around i2 := i2 + 1; then IF on
        // i2 Mod 7 = 0 and element i2 of the Singles read, until it runs
        // through the Bytes and past the last variable.
        SteppingCase{"DecodedLoopDownAndElementsBySingleNames",
                     Ops(PushByte(3), kMv, kS1, PushByte(20), kMv, kI1,            //  1..8
                         kiM, kI2, kIncr, kMv, kI2,                                //  9..13
                         kLoop, 0x09, 6, Word(32500 + kS1),                        // 14..18
                         kiM, kI2, PushByte(7), kMod, kEqualZero, kSkipIfZero, 3,  // 19..26
                         kGoToBase + 1, Word(1),                                   // 27..29
                         kiM, kI2, kLoadElement, 1, kMv, 2, kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        // A compare Loop on i1 Mod 9 <> 4; element i1 of the Integers, then
        // IF >= 0 on it.
        SteppingCase{"CompareLoopAndIntegerElements",
                     Ops(kiM, kI1, kIncr, kMv, kI1, kiM, kI1, PushByte(9), kMod,  //  1..10
                         kLoop, 0x00, 11, Word(4),                                // 11..15
                         kiM, kI1, kLoadElement, kI1, kGreaterEqualZero, kSkipIfZero, 2, kNop, kNop,
                         kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        // Mod by a variable that is 0 on the first pass.
        SteppingCase{"ModByAZeroVariable",
                     Ops(PushByte(9), kiM, kI2, kMod, kMv, kS1, kiM, kI2, kIncr, kMv, kI2,
                         kGoToBase + 1, Word(1)),
                     "enter,enter,enter,1,enter"},
        // POKE into the unit that comes next (the constant at 13), with odd
        // checkpoints falling inside units.
        SteppingCase{"PokeIntoTheNextUnit",
                     Ops(kiM, kI1, kIncr, kMv, kI1, PushInt(13), kiM, kI1, kPoke,         //  1..11
                         PushByte(0), kiM, kS1, kAdd, kMv, kS1, kGoToBase + 1, Word(1)),  // 12..
                     "enter,enter", 9999, 7},
        // POKE the operation of a fused unit (at 20): Subtract, then Multiply, in turn.
        SteppingCase{
            "PokeTheOperationOfAUnit",
            Ops(kiM, kI1, kIncr, kMv, kI1, PushInt(20), kiM, kI1, PushByte(1), kAnd, kIncr,
                kPoke,                                                                //  1..15
                kiM, kS1, PushByte(3), kSubtract, kMv, kS1, kGoToBase + 1, Word(1)),  // 16..
            "enter,enter,enter,1,enter", 20000, 3},
        // A segment: calls 9 and returns when the counter reaches 15.
        SteppingCase{"Segment",
                     Ops(kSegm, Word(9), Word(15), kGoToBase + 1, Word(1), kiM, kI1, kIncr, kMv,
                         kI1, kNop, kNop, kGoToBase + 1, Word(9)),
                     "enter,enter", 5000, 10000, 1},
        // Mode 4 gives the program the keypad; it polls KeyCod in a loop.
        SteppingCase{"KeysToTheProgram",
                     Ops(PushByte(4), kMode, kKeyCod, kMv, kI1, kiM, kI1, kIncr, kMv, kI2,
                         kGoToBase + 1, Word(4)),
                     "enter,enter,@500:7,@900:left,@1300:stop", 5000},
        // Running off the end of memory stops the run.
        SteppingCase{"EndOfMemory", Ops(kGoToBase + 1, Word(1000)), "enter,enter"},
        // With no segment, SegmentEnd 0 matches counter 0: a jump to 0 returns
        // from the current call level (here to 4, then at the bottom: error 11).
        SteppingCase{
            "JumpToCellZero",
            Ops(kCallBase + 1, Word(8), kGoToBase + 1, Word(0), kNop, kGoToBase + 1, Word(0)),
            "enter,enter,enter"},
        // A jump to an address beyond the memory faults at the next fetch.
        SteppingCase{"JumpOutOfMemory", Ops(kGoToBase + 1, Word(-5)), "enter,enter,enter"},
        // Faults raised inside the loop's own handlers, each then reported.
        SteppingCase{"CallsTooDeep", Ops(kCallBase + 1, Word(1)), "enter,enter,enter"},
        SteppingCase{"ReturnAtTheBottom", Ops(kNop, kRet), "enter,enter,enter"},
        SteppingCase{"FloatOverflow",
                     Ops(PushByte(1), kMv, kS1, kiM, kS1, PushInt(1000), kMultiply, kMv, kS1,
                         kGoToBase + 1, Word(5)),
                     "enter,enter,enter"},
        SteppingCase{"IntegerOutOfRange",
                     Ops(kiM, kI1, PushInt(1000), kAdd, kMv, kI1, kGoToBase + 1, Word(1)),
                     "enter,enter,enter"},
        // The stack pointer and X as variables, read and written in the loop.
        SteppingCase{"StackPointerAsVariable",
                     Ops(kiM, kI1, kIncr, kMv, kI1, kiM, kI1, kMv, kOperandStack, kiM, kOperandRX,
                         kMv, kS1, kiM, kOperandStack, kMv, kI2, kGoToBase + 1, Word(1)),
                     "enter,enter", 5000, 10000, 1},
        // A jump to the address an Integer holds (6), round and round.
        SteppingCase{
            "JumpFromVariable",
            Ops(PushByte(6), kMv, kI1, kNop, kiM, kI2, kIncr, kMv, kI2, kGoToBase + 3, kI1),
            "enter,enter", 5000, 10000, 2},
        // Ret at 10 leaves its counter (11) in the entry it returns from;
        // RetN -1 moves back up over it, on to 11 and back to 1.
        SteppingCase{"RetNUncoversAReturn",
                     Ops(kCallBase + 1, Word(10), PushInt(-1), kRetN, kNop, kNop, kRet, kiM, kI1,
                         kIncr, kMv, kI1, kGoToBase + 1, Word(1)),
                     "enter,enter", 5000, 10000, 1},
        SteppingCase{"SerialPrintInTheLoop",
                     Ops(kiM, kI1, kIncr, kDup, kMv, kI1, kSerialPrint, kGoToBase + 1, Word(1)),
                     "enter,enter", 300}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr::emulator::testing
