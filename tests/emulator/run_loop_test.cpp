// The firmware loop through the headless host: greeting, prompt, starts,
// stops, error reports, events, window commands and the stop rules; serial
// transfer, the trace, and the queued host that carries actions into the loop.
#include "device_fixture.h"
#include "emulator/queued_host.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

// 3.5 -> x; x Dup * PrtX End, as the compiler lays it out: 7 instructions.
const Code kSquare = Ops(PushSingle(3.5f), kMv, 1, kiM, 1, kDup, kMultiply, kPrtX, kEnd);
// Loops forever reading KeyCod into Integer 1.
Code KeyLoop(std::uint8_t mode) {
    return Ops(PushByte(mode), kMode, kKeyCod, kMv, 129, 0xF5, Word(4));
}
constexpr const char* kPrompt = "Adres\\Enter?  aD";

struct Script {
    const char* name;
    Code code;
    const char* keys;
    StopReason stop;
    int count = -1;  // instructions run, -1: not checked
    int integer1 = 0;
    const char* line1 = "";  // "": not checked
    const char* line2 = "";
    std::uint64_t maxInstructions = 1000;
};
class RunLoop : public ::testing::TestWithParam<Script> {};
TEST_P(RunLoop, StopsAsScripted) {
    const Script& c = GetParam();
    Device d(c.keys, c.maxInstructions);
    d.Run(c.code);
    EXPECT_EQ(d.Stop(), c.stop);
    if (c.count >= 0) {
        EXPECT_EQ(d.emulator.instructionCount(), c.count);
    }
    EXPECT_EQ(d.m.integers[1], c.integer1);
    if (*c.line1) {
        EXPECT_EQ(d.Line(1), c.line1);
    }
    if (*c.line2) {
        EXPECT_EQ(d.Line(2), c.line2);
    }
}
using enum StopReason;
INSTANTIATE_TEST_SUITE_P(
    Table, RunLoop,
    ::testing::Values(
        Script{"greeting_waits", kSquare, "", WaitingForInput, 0, 0, "ZR-7340 vers.B01",
               "Kelto vers.03   "},
        Script{"enter_starts_at_1", kSquare, "enter,enter", Stopped, 7, 0, "", "12.25           "},
        Script{"prompt_after_stop", kSquare, "enter,enter,tick", WaitingForInput, 7, 0, kPrompt},
        Script{"address_1", kSquare, "enter,1,enter", Stopped, 7},
        Script{"address_0", kSquare, "enter,0,enter", Stopped, 7},
        Script{"address_comma", kSquare, "enter,comma,enter", Stopped, 7},
        Script{"address_1025_asks_again", kSquare, "enter,1,0,2,5,enter", WaitingForInput, 0, 0,
               kPrompt},
        Script{"address_m3_refused", kSquare, "enter,left,minus,3,enter", WaitingForInput, 0},
        Script{"run1_at_the_prompt", kSquare, "enter,run1,enter", Stopped, 7, 0, "",
               "12.25           "},
        // GoTo 1023, whose Nop is the last instruction: the counter reaches 1024.
        Script{"stop_after_1023", Ops(0xF5, Word(1023)), "enter,enter", Stopped, 2},
        // Call through Integer 1 = 2000: error 37, reported with the counter past it.
        Script{"error_report", Ops(PushInt(2000), kMv, 129, 0xF3, 129), "enter,enter",
               WaitingForInput, 3, 2000, "Error 37 in 8   "},
        Script{"silent_error", Ops(PushByte(16), kMode, kRet), "enter,enter", Stopped, 3, 0,
               "                "},
        // MODE 32, Incr Integer 1, End: restarts at 1 without asking, until the limit.
        Script{"autostart", Ops(PushByte(32), kMode, kiM, 129, kIncr, kMv, 129, kEnd),
               "enter,enter,tick", MaxInstructions, 70, 11, "", "", 70},
        Script{"stop_key", KeyLoop(0), "enter,enter,@100:left", Stopped, 100, 255},
        Script{"stop_key_to_the_program", KeyLoop(kEventKeysToProgram), "enter,enter,@100:left",
               MaxInstructions, 1000, 255},
        Script{"window_run1_then_stop", KeyLoop(0), "enter,enter,@10:run1,@20:stop", Stopped, 20,
               255},
        Script{"window_end", KeyLoop(0), "enter,enter,@10:end", EndToken, 10, 255},
        // Stores only codes other than 255: KeyCod Dup 255 <> SkipIfZero(Mv) ...
        Script{"program_reads_keys",
               Ops(PushByte(kEventKeysToProgram), kMode, kKeyCod, kDup, PushByte(255), kNotEqual,
                   kSkipIfZero, 2, kMv, 129, 0xF5, Word(4)),
               "enter,enter,@50:7", MaxInstructions, 1000, 7}),
    kByName);

TEST(RunLoopEvents, ProgramEventRunsBeforeTimerEvent) {
    // Timer 20 (period 0); Events 23; MODE 3 (both pending); End.
    Device d("enter,enter");
    d.Put(20, Ops(PushByte(1), kRet, PushByte(2), kRet));
    d.Run(Ops(PushByte(0), kTimer, Word(20), kEvents, Word(23), PushByte(3), kMode, kEnd));
    EXPECT_EQ(d.m.valueStack[2], 2);
    EXPECT_EQ(d.m.valueStack[3], 1);
    EXPECT_EQ(d.Stop(), StopReason::Stopped);
}

TEST(RunLoopEvents, TimerTicksFollowInstructions) {
    // Timer 20 with period 0; the handler counts in Integer 1; the main loop spins.
    Device d("enter,enter", 100 * 9 * 5 + 50, 100);  // five timer event ticks
    d.Put(20, Ops(kiM, 129, kIncr, kMv, 129, kRet));
    d.Run(Ops(PushByte(0), kTimer, Word(20), 0xF5, Word(6)));
    EXPECT_EQ(d.m.integers[1], 5);
}

TEST(RunLoopEvents, StateKeptAndResetBetweenRuns) {
    Device d("enter,enter,enter");
    d.m.segmentEnd = 0;
    d.Run(Ops(PushByte(7), PushByte(8), kEnd));
    EXPECT_EQ(d.m.stackPointer, 3);
    EXPECT_EQ(d.m.returnPointer, 1);
    EXPECT_EQ(d.m.valueStack[3], 8);  // slots 2..16 and LastX keep their values
    EXPECT_EQ(d.m.lastX, 7);
}

TEST(Serial, PrintInputAndTheEndOfInput) {
    Device d(HeadlessOptions{Keys("enter,enter"), 10000, 10'000'000, {"2.5", " -4"}});
    d.Run(Ops(kSerialInput, kSerialInput, kMultiply, kSerialPrint, kSerialInput, kEnd));
    EXPECT_EQ(d.host.serialOut(), std::deque<std::string>{"-10"});
    EXPECT_EQ(d.Stop(), StopReason::SerialInputEnded);
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
    d.m.integers[1] = -3;
    d.Load(Ops(kSerialLoad));
    d.emulator.Step();
    EXPECT_EQ(d.host.serialOut(), (std::deque<std::string>{"512", "-3", "0"}));
    EXPECT_EQ(d.m.programImage[101], 43);
    EXPECT_EQ(d.m.ProgramCounter(), 100);
}

// A program that prints for ever must not fill the memory: the host keeps the last lines
// only (none at all when told so), counts every one and hands each to the sink.
TEST(Serial, OnlyTheLastLinesAreKeptAndEveryOneReachesTheSink) {
    const struct {
        const char* name;
        std::size_t kept;
        std::deque<std::string> expected;
    } cases[] = {
        {"default", kSerialLinesKept, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {"last_three", 3, {"7", "8", "9"}},
        {"count_only", 0, {}},
    };
    Code code;
    for (int i = 0; i < 10; ++i) Append(code, Ops(PushByte(i), kSerialPrint));
    Append(code, kEnd);
    for (const auto& c : cases) {
        std::vector<std::string> streamed;
        HeadlessOptions options;
        options.keys = Keys("enter,enter");
        options.serialLinesKept = c.kept;
        options.serialSink = [&streamed](std::string_view line) { streamed.emplace_back(line); };
        Device d(options);
        d.Run(code);
        EXPECT_EQ(d.host.serialOut(), c.expected) << c.name;
        EXPECT_EQ(d.host.serialLineCount(), 10u) << c.name;
        EXPECT_EQ(d.host.serialLinesDropped(), 10u - c.expected.size()) << c.name;
        EXPECT_EQ(streamed.size(), 10u) << c.name;
        EXPECT_EQ(streamed.back(), "9") << c.name;
    }
    EXPECT_EQ(kSerialLinesKept, 10000u);
}

// Posts End at the first checkpoint; if the run goes on regardless, ends it
// directly at the second so the test cannot hang.
struct EndingHost : QueuedHost {
    void Checkpoint(Emulator& emulator, std::uint64_t instructions) override {
        if (!posted) {
            posted = true;
            Post([](Emulator& e) { e.RequestEnd(); });
            emulator.SetCheckpoint(instructions + 100000);
        } else {
            endIgnored = true;
            emulator.RequestEnd();
        }
    }
    bool posted = false, endIgnored = false;
};

TEST(QueuedHost, EndReachesALoopThatOwnsTheKeypadAndNeverPrints) {
    EndingHost host;
    Emulator emulator(host);
    // MODE 4 (the keypad is the program's), then a jump to itself.
    const Code code = Ops(PushByte(kEventKeysToProgram), kMode, 0xF5, Word(4));
    emulator.WriteProgram(1, code);
    emulator.machine.eventFlags = kEventAutoStart;
    emulator.keyRegister = 15;  // the greeting's key
    emulator.SetCheckpoint(1000);
    emulator.RunLoop();
    EXPECT_TRUE(host.posted);
    EXPECT_FALSE(host.endIgnored);
    EXPECT_LT(emulator.instructionCount(), 1100u);
}

TEST(QueuedHost, PostedActionsRunInOrderOnPump) {
    QueuedHost host;
    Emulator emulator(host);
    host.Post([](Emulator& e) { e.PressKey(1); });
    host.Post([](Emulator& e) { e.PressKey(2); });
    EXPECT_TRUE(host.HasPending());
    host.Pump(emulator);
    EXPECT_FALSE(host.HasPending());
    EXPECT_EQ(emulator.keyRegister, 2);  // a second click replaces the first
}

}  // namespace
}  // namespace zr::emulator::testing
