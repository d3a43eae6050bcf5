// The firmware loop through the headless host: greeting, prompt, starts,
// stops, error reports, events, window commands and the stop rules.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct ScriptedRun {
    ScriptedRun(const Code& code, const std::string& keys, std::uint64_t maxInstructions = 100000) {
        HeadlessOptions options;
        options.keys = Keys(keys);
        options.maxInstructions = maxInstructions;
        device = std::make_unique<Device>(options);
        auto& img = device->emulator.machine.programImage;
        std::copy(code.bytes.begin(), code.bytes.end(), img.begin() + 1);
    }
    void Go() { device->host.Run(device->emulator); }
    std::unique_ptr<Device> device;
};

// 3.5 -> x; x Dup * PrtX End, as the compiler lays it out.
Code SquareProgram() {
    return Code{} << PushSingle(3.5f) << kMv << 1 << kiM << 1 << kDup << kMultiply << kPrtX << kEnd;
}

TEST(RunLoop, GreetingWaitsForAKey) {
    ScriptedRun run(SquareProgram(), "");
    run.Go();
    EXPECT_EQ(run.device->Line(1), "ZR-7340 vers.B01");
    EXPECT_EQ(run.device->Line(2), "Kelto vers.03   ");
    EXPECT_EQ(run.device->host.stopReason(), StopReason::WaitingForInput);
}

TEST(RunLoop, EnterAtThePromptStartsAtOneAndEndStops) {
    ScriptedRun run(SquareProgram(), "enter,enter");
    run.Go();
    EXPECT_EQ(run.device->Line(2), "12.25           ");
    EXPECT_EQ(run.device->host.stopReason(), StopReason::Stopped);
    EXPECT_EQ(run.device->RunState(), kStopped);
    EXPECT_EQ(run.device->emulator.instructionCount(), 7);
}

TEST(RunLoop, PromptShownAfterStopWhenKeysRemain) {
    ScriptedRun run(SquareProgram(), "enter,enter,tick");
    run.Go();
    EXPECT_EQ(run.device->Line(1), "Adres\\Enter?  aD");
    EXPECT_EQ(run.device->host.stopReason(), StopReason::WaitingForInput);
}

struct AddressCase {
    const char* keys;
    bool started;
};
class StartAddress : public ::testing::TestWithParam<AddressCase> {};
TEST_P(StartAddress, AcceptsOnly1To1024) {
    ScriptedRun run(SquareProgram(), GetParam().keys);
    run.Go();
    EXPECT_EQ(run.device->emulator.instructionCount() > 0, GetParam().started);
}
INSTANTIATE_TEST_SUITE_P(Table, StartAddress,
                         ::testing::Values(AddressCase{"enter,1,enter", true},
                                           AddressCase{"enter,1,0,2,5,enter", false},
                                           AddressCase{"enter,left,minus,3,enter", false},
                                           AddressCase{"enter,0,enter", true},
                                           AddressCase{"enter,comma,enter", true}));

TEST(RunLoop, PromptRepeatsAfterABadAddress) {
    ScriptedRun run(SquareProgram(), "enter,1,0,2,5,enter");
    run.Go();
    EXPECT_EQ(run.device->Line(1), "Adres\\Enter?  aD");
}

TEST(RunLoop, LastInstructionAt1023StopsSilently) {
    ScriptedRun run(Code{}, "enter,enter");
    auto& img = run.device->emulator.machine.programImage;
    img[1] = 0xF5;  // GoTo 1023
    img[2] = 0x03;
    img[3] = 0xFF;
    img[1023] = kNop;
    run.Go();
    EXPECT_EQ(run.device->host.stopReason(), StopReason::Stopped);
    EXPECT_EQ(run.device->emulator.machine.ProgramCounter(), 1024);
    EXPECT_TRUE(run.device->host.errors().empty());
}

TEST(RunLoop, ErrorReportStaysOnLine1) {
    // 6: Call through variable 129, which holds 2000: error 37, reported with the counter past it.
    ScriptedRun run(Code{} << PushInt(2000) << kMv << 129 << 0xF3 << 129, "enter,enter");
    run.Go();
    EXPECT_EQ(run.device->Line(1), "Error 37 in 8   ");
    EXPECT_EQ(run.device->RunState(), kErrorJumpTarget);
    ASSERT_EQ(run.device->host.errors().size(), 1u);
    EXPECT_EQ(run.device->host.stopReason(), StopReason::WaitingForInput);
}

TEST(RunLoop, SilentErrorsStopWithoutAReport) {
    ScriptedRun run(Code{} << PushByte(16) << kMode << kRet, "enter,enter");
    run.Go();
    EXPECT_EQ(run.device->Line(1), "                ");
    EXPECT_EQ(run.device->RunState(), kStopped);
    EXPECT_EQ(run.device->host.stopReason(), StopReason::Stopped);
}

TEST(RunLoop, AutoStartRestartsAtOnce) {
    // MODE 32, Incr counter, End: restarts at 1 without asking, until the limit.
    ScriptedRun run(Code{} << PushByte(32) << kMode << kiM << 129 << kIncr << kMv << 129 << kEnd,
                    "enter,enter,tick", 70);
    run.Go();
    EXPECT_EQ(run.device->host.stopReason(), StopReason::MaxInstructions);
    EXPECT_EQ(run.device->emulator.machine.integers[1], 11);  // 6 instructions a run
}

TEST(RunLoop, ProgramEventRunsBeforeTimerEvent) {
    // 1: Timer 30 (period 0); Events 40; MODE 3 (both pending); 10: End.
    // 30: PushByte 1; Ret. 40: PushByte 2; Ret.
    Code code = Code{} << PushByte(0) << kTimer << Word(30) << kEvents << Word(40) << PushByte(3)
                       << kMode << kEnd;
    ScriptedRun run(code, "enter,enter");
    auto& img = run.device->emulator.machine.programImage;
    const std::uint8_t timer[] = {kPushByte, 1, kRet};
    const std::uint8_t event[] = {kPushByte, 2, kRet};
    std::copy(std::begin(timer), std::end(timer), img.begin() + 30);
    std::copy(std::begin(event), std::end(event), img.begin() + 40);
    run.Go();
    auto& m = run.device->emulator.machine;
    EXPECT_EQ(m.valueStack[2], 2);
    EXPECT_EQ(m.valueStack[3], 1);
    EXPECT_EQ(run.device->host.stopReason(), StopReason::Stopped);
}

// 1: loop forever reading KeyCod into Integer 1 when it is not 255.
Code KeyLoop(std::uint8_t flags) {
    return Code{} << PushByte(flags) << kMode << kKeyCod << kMv << 129 << 0xF5 << Word(4);
}

TEST(RunLoop, StopKeyStopsUnlessTheProgramOwnsTheKeypad) {
    ScriptedRun stop(KeyLoop(0), "enter,enter,@100:left", 1000);
    stop.Go();
    EXPECT_EQ(stop.device->host.stopReason(), StopReason::Stopped);
    EXPECT_EQ(stop.device->emulator.instructionCount(), 100);

    ScriptedRun owned(KeyLoop(kEventKeysToProgram), "enter,enter,@100:left", 1000);
    owned.Go();
    EXPECT_EQ(owned.device->host.stopReason(), StopReason::MaxInstructions);
    EXPECT_EQ(owned.device->emulator.machine.integers[1], 255);  // read, then later 255 again
}

TEST(RunLoop, ProgramReadsKeysWhenItOwnsTheKeypad) {
    // Store only key codes other than 255: KeyCod Dup PushByte 255 <> IF(skip Mv) ...
    Code code = Code{} << PushByte(kEventKeysToProgram) << kMode << kKeyCod << kDup << PushByte(255)
                       << kNotEqual << kSkipIfZero << 2 << kMv << 129 << 0xF5 << Word(4);
    ScriptedRun run(code, "enter,enter,@50:7", 200);
    run.Go();
    EXPECT_EQ(run.device->emulator.machine.integers[1], 7);
}

TEST(RunLoop, WindowCommandsAtInstructionCounts) {
    ScriptedRun restart(KeyLoop(0), "enter,enter,@10:run1,@20:stop", 1000);
    restart.Go();
    EXPECT_EQ(restart.device->host.stopReason(), StopReason::Stopped);
    EXPECT_EQ(restart.device->emulator.instructionCount(), 20);

    ScriptedRun ended(KeyLoop(0), "enter,enter,@10:end", 1000);
    ended.Go();
    EXPECT_EQ(ended.device->host.stopReason(), StopReason::EndToken);
    EXPECT_EQ(ended.device->emulator.instructionCount(), 10);
}

TEST(RunLoop, RunFromOneAtThePromptTypesAPoint) {
    ScriptedRun run(SquareProgram(), "enter,run1,enter");
    run.Go();
    EXPECT_EQ(run.device->Line(2), "12.25           ");
}

TEST(RunLoop, TimerTicksFollowInstructions) {
    // Timer 20 with period 0; the handler counts in Integer 1; the main loop spins.
    Code code = Code{} << PushByte(0) << kTimer << Word(20) << 0xF5 << Word(6);
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    options.instructionsPerTick = 100;
    options.maxInstructions = 100 * 9 * 5 + 50;  // five timer event ticks
    Device d(options);
    std::copy(code.bytes.begin(), code.bytes.end(), d.emulator.machine.programImage.begin() + 1);
    const std::uint8_t handler[] = {kiM, 129, kIncr, kMv, 129, kRet};
    std::copy(std::begin(handler), std::end(handler), d.emulator.machine.programImage.begin() + 20);
    d.host.Run(d.emulator);
    EXPECT_EQ(d.emulator.machine.integers[1], 5);
}

TEST(RunLoop, StateKeptAndResetBetweenRuns) {
    ScriptedRun run(Code{} << PushByte(7) << PushByte(8) << kEnd, "enter,enter,enter");
    run.device->emulator.machine.segmentEnd = 0;
    run.Go();
    auto& m = run.device->emulator.machine;
    EXPECT_EQ(m.stackPointer, 3);
    EXPECT_EQ(m.returnPointer, 1);
    EXPECT_EQ(m.valueStack[3], 8);  // slots 2..16 and LastX keep their values
    EXPECT_EQ(m.lastX, 7);
}

TEST(Serial, PrintInputAndTheEndOfInput) {
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    options.serialIn = {"2.5", " -4"};
    Device d(options);
    Code code = Code{} << kSerialInput << kSerialInput << kMultiply << kSerialPrint << kSerialInput
                       << kEnd;
    std::copy(code.bytes.begin(), code.bytes.end(), d.emulator.machine.programImage.begin() + 1);
    d.host.Run(d.emulator);
    EXPECT_EQ(d.host.serialOut(), std::vector<std::string>{"-10"});
    EXPECT_EQ(d.host.stopReason(), StopReason::SerialInputEnded);
    EXPECT_EQ(d.RunState(), kRunning);
}

TEST(Serial, MonitorCommands) {
    HeadlessOptions options;
    options.serialIn = {"5",     "24683", "2",   "3",                // ADC 3
                        "24683", "5",     "100", "101", "42", "43",  // memory 100..101
                        "24683", "4",     "129", "130",              // Integers 1..2
                        "24683", "1",     "100"};                    // start at 100
    Device d(options);
    d.emulator.io.adc[2] = 512;
    d.emulator.machine.integers[1] = -3;
    d.Load(Code{} << kSerialLoad);
    d.emulator.Step();
    EXPECT_EQ(d.host.serialOut(), (std::vector<std::string>{"512", "-3", "0"}));
    EXPECT_EQ(d.emulator.machine.programImage[101], 43);
    EXPECT_EQ(d.emulator.machine.ProgramCounter(), 100);
}

TEST(Serial, NoEndpointIsARunError) {
    struct NoSerial : HeadlessHost {
        NoSerial() : HeadlessHost({}) {}
        std::optional<std::string> SerialReadLine(Emulator&) override { return std::nullopt; }
    } host;
    Emulator e(host);
    e.machine.programImage[1] = kSerialInput;
    e.machine.runState = kRunning;
    e.machine.SetProgramCounter(1);
    e.Step();
    EXPECT_EQ(e.machine.runState, kErrorSerialChannel);
}

TEST(Trace, StopsOnceAtTheFirstInstructionOfAStatement) {
    struct TraceHost : HeadlessHost {
        TraceHost() : HeadlessHost({}) {}
        std::vector<std::string> stops;
        int stackLists = 0;
        void StatementReached(const TraceStop& stop) override { stops.push_back(stop.line); }
        void TraceStack(const std::vector<std::string>&) override { ++stackLists; }
    } host;
    Emulator e(host);
    const Code code = Code{} << PushByte(1) << PushByte(2) << kAdd << PushByte(4);
    std::copy(code.bytes.begin(), code.bytes.end(), e.machine.programImage.begin() + 1);
    e.SetStatementMap({{1, "x", 0}, {6, "PRINT", 10}});
    e.SetTraceOn(true);
    e.machine.runState = kRunning;
    e.machine.SetProgramCounter(1);
    for (int i = 0; i < 4; ++i) e.Step();
    EXPECT_EQ(host.stackLists, 4);
    EXPECT_EQ(host.stops, (std::vector<std::string>{"2: x  ( 0)", "7: PRINT  ( 1)"}));
}

}  // namespace
}  // namespace zr::emulator::testing
