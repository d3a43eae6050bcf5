// Stack instructions, calls, jumps, loops, inline tables, memory and variable
// access by operand byte, the port with its strobes, ADC, I2C, SERIES and SEND.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

TEST(ValueStack, SeventeenPushesOverwriteTheOldest) {
    Device d;
    Code code;
    for (int i = 1; i <= 17; ++i) Append(code, PushByte(i));
    d.RunCode(code);
    for (int i = 17; i >= 2; --i) EXPECT_EQ(d.m.PopValue(), i);
}

TEST(ValueStack, DupNWrapsTheRing) {
    Device d;
    d.Load(Ops(kDupN, 3));
    d.m.stackPointer = 2;
    d.m.valueStack[16] = 42;
    d.emulator.Step();
    EXPECT_EQ(d.X(), 42);
}

// A sequence run from 1 (Call 20 reaches `at20`) leaves slots 1..StackPointer;
// slot 1 starts as 0.
struct Seq {
    const char* name;
    Code code;
    std::vector<float> slots;
    std::vector<float> stack{};  // pushed first
    Code at20{};
    const char* keys = "";
};
class Sequences : public ::testing::TestWithParam<Seq> {};
TEST_P(Sequences, LeaveTheStack) {
    const Seq& c = GetParam();
    Device d(c.keys);
    d.Put(20, c.at20);
    d.RunCode(c.code, c.stack);
    EXPECT_TRUE(d.RunState() == kRunning || d.RunState() == kStopped) << d.RunState();
    const auto slot1 = d.m.valueStack.begin() + 1;
    EXPECT_EQ(std::vector<float>(slot1, slot1 + d.m.stackPointer), c.slots);
}
const Code kOnX3 = Ops(kOnX, 0x83, Word(10), Word(20), Word(30));
const Code kCall20 = Ops(PushByte(2), 0xF1, Word(20), kEnd);
// Rol takes two values off first, then turns slots 1..3 (a, b, c).
INSTANTIATE_TEST_SUITE_P(
    Table, Sequences,
    ::testing::Values(
        Seq{"Rol_up", Ops(kRol, 0x01), {3, 0, 2}, {2, 3, 8, 9}},
        Seq{"Rol_down", Ops(kRol, 0x81), {2, 3, 0}, {2, 3, 8, 9}},
        Seq{"Rol_twice", Ops(kRol, 0x11), {2, 3, 0}, {2, 3, 8, 9}},
        Seq{"Rol_top_slot", Ops(kRol, 0x03), {0, 3, 2}, {2, 3, 8, 9}},
        Seq{"DupN_1", Ops(kDupN, 1), {0, 5, 5}, {5}}, Seq{"SwapN_1", Ops(kSwapN, 1), {5, 0}, {5}},
        Seq{"Swap", Ops(kSwap), {5, 0}, {5}}, Seq{"Dup2", Ops(kDup2), {0, 5, 0, 5}, {5}},
        Seq{"Over", Ops(kOver), {4, 2, 3, 0}, {2, 3, 4}},
        Seq{"stack_element", Ops(PushByte(2), kLoadElement, 0xFC), {0, 8, 9, 8}, {8, 9}},
        Seq{"store_stack_element",
            Ops(PushByte(6), PushByte(3), kStoreElement, 0xFC),
            {6, 8, 9},
            {8, 9}},
        Seq{"X1_replaces_X", Ops(PushByte(5), PushByte(8), kX1), {0, 5, 5}},
        Seq{"Pi_pushed_twice", Ops(kPi), {0, 7, 3.14159f, 3.14159f}, {7, 9}},
        Seq{"short_jump_129_is_next", Ops(0xF4, 129, PushByte(9)), {0, 9}},
        Seq{"cond_jump_0_pops", Ops(PushByte(0), 0xFD, Word(500), PushByte(9)), {0, 9}},
        Seq{"cond_jump_variable_pops", Ops(PushByte(0), PushByte(3), 0xFE, PushByte(9)), {0, 9}},
        Seq{"call_ret",
            Ops(0xF1, Word(20), PushByte(2), kEnd),
            {0, 7, 2},
            {},
            Ops(PushByte(7), kRet)},
        Seq{"RetN_0", Ops(PushByte(7), PushByte(0), kRetN), {0, 7}},
        Seq{"OnX_chooses", Ops(PushByte(2), kOnX3), {0, 20}},
        Seq{"OnX_skips", Ops(PushByte(5), PushByte(4), kOnX3, PushByte(1)), {0, 5, 1}},
        Seq{"OnX_search", Ops(PushByte(2), kOnX, 0x03, Word(7), Word(2), Word(9)), {0, 2}},
        Seq{"OnX_variable_word",
            Ops(kMv, 131, PushByte(1), kOnX, 0x81, Word(32500 + 131)),
            {0, 77},
            {77}},
        Seq{"value_list_loop",
            Ops(kLoop, 0x13, 1, Word(10), Word(20), Word(30), kEnd),
            {0, 10, 20, 30}},
        Seq{"counted_loop", Ops(PushByte(1), kLoop, 0x01, 3, Word(5), kEnd), {0, 1, 1, 1, 1, 1, 1}},
        Seq{"byte_table", kCall20, {0, 22}, {}, Ops(kTable, 0x03, 11, 22, 33)},
        Seq{"word_table", kCall20, {0, 1234}, {}, Ops(kTable, 0x42, Word(-300), Word(1234))},
        Seq{"Poke_Peek", Ops(PushInt(1000), PushInt(300), kPoke, PushInt(1000), kPeek), {0, 44}},
        Seq{"Poke2_Peek2",
            Ops(PushInt(900), PushInt(-300), kPoke2, PushInt(900), kPeek2),
            {0, -300}},
        Seq{"I2C_reads_back",
            Ops(PushInt(300), PushByte(128), kStoreElement, kOperandI2C, PushByte(128),
                kLoadElement, kOperandI2C),
            {0, 44}},
        Seq{"load_indirect",
            Ops(kMv, 5, PushByte(5), kMv, 130, kLoadIndirect, 130),
            {0, 3.5f},
            {3.5f}},
        Seq{"store_element", Ops(PushByte(9), PushByte(2), kStoreElement, 33, kiM, 34), {0, 9}},
        Seq{"wait_0_then_key",
            Ops(PushByte(0), kWait, PushByte(1), kNeg, kWait),
            {0, 8},
            {},
            {},
            "7,8"}),
    kByName);

TEST(InlineTables, InitialisationTableFillsEachArea) {
    Device d;
    const auto one = SingleBytes(1.5f);
    d.RunCode(
        Ops(kTable, 0xC3, 130, Word(-12), 40, 200, 3, Code(one.begin(), one.end()), PushByte(1)));
    EXPECT_EQ(d.m.integers[2], -12);
    EXPECT_EQ(d.m.bytes[8], 200);
    EXPECT_EQ(d.m.singles[3], 1.5f);
    EXPECT_EQ(d.X(), 1);
}

TEST(InlineTables, SegmentEndsAtItsReturnPoint) {  // the run loop drops the segment level
    Device d("enter,enter");
    // 1: Segm 20, 24; 6: PushByte 9; 8: End. 20: PushByte 4; 22: PushByte 5; 24: End
    d.Put(20, Ops(PushByte(4), PushByte(5), kEnd));
    d.Run(Ops(kSegm, Word(20), Word(24), PushByte(9), kEnd));
    EXPECT_EQ(d.m.stackPointer, 4);
    EXPECT_EQ(d.m.valueStack[2], 4);
    EXPECT_EQ(d.X(), 9);
}

TEST(Variables, WritesRoundAndWrap) {
    Device d;
    auto& e = d.emulator;
    const std::pair<int, double> writes[] = {{40, 300}, {130, 2.5}, {32, 1.25}, {33, 7},
                                             {128, 9},  {129, -5},  {131, 3.5}};
    for (auto [operand, value] : writes) e.WriteVariable(operand, value);
    EXPECT_EQ(d.m.bytes[8], 44);  // operand 40
    EXPECT_EQ(d.m.integers[2], 2);
    EXPECT_EQ(d.m.integers[3], 4);
    EXPECT_EQ(e.ReadVariable(32), 1.25f);
    EXPECT_EQ(d.m.bytes[1], 7);  // operand 33
    EXPECT_EQ(d.m.bytes[96], 9);
    EXPECT_EQ(d.m.integers[1], -5);
    d.m.stackPointer = 3;
    EXPECT_EQ(e.ReadVariable(kOperandStack), 2);
    e.WriteVariable(kOperandStack, 17);
    EXPECT_EQ(d.m.stackPointer, 2);
}

TEST(Port, ReadPulsesCE) {
    struct PinLog : HeadlessHost {
        using HeadlessHost::HeadlessHost;
        std::vector<std::pair<int, int>> changes;
        void PinChanged(int pin, int value) override { changes.emplace_back(pin, value); }
    };
    DeviceOn<PinLog> d;
    d.emulator.io.portInputs = 0x81;
    d.emulator.SetPin(kPinWE, 1);
    d.emulator.SetPin(kPinCE, 1);
    d.host.changes.clear();
    EXPECT_EQ(d.emulator.ReadVariable(kOperandPort), 129);
    EXPECT_EQ(d.host.changes, (std::vector<std::pair<int, int>>{{kPinCE, 0}, {kPinCE, 1}}));
    EXPECT_EQ(d.emulator.io.pins[kPinCE], 1);
}

TEST(Port, WriteSetsTheDataPins) {
    Device d;
    auto& io = d.emulator.io;
    d.emulator.WriteVariable(kOperandPort, 5.6);  // 6: D1 and D2
    EXPECT_EQ(std::vector<int>(io.pins.begin(), io.pins.begin() + 8),
              (std::vector<int>{0, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(io.pins[kPinWE], 0);
    EXPECT_EQ(io.pins[kPinCE], 1);
    d.emulator.WriteVariable(kOperandPort, -1);
    EXPECT_EQ(std::vector<int>(io.pins.begin(), io.pins.begin() + 8), std::vector<int>(8, 1));
}

TEST(Hardware, SeriesAndSend) {
    Device d;
    d.emulator.io.adc = {10, 20, 30, 1023};
    // SERIES channel 4 into Integers 1..3 (pace 5); SEND Bytes 1..2 to the port.
    d.m.bytes[1] = 3;
    d.m.bytes[2] = 0x80;
    d.RunCode(Ops(PushByte(5), kSeries, 4, 129, 131, kSend, 33, 34, PushByte(2), kLoadElement,
                  kOperandAdc));
    EXPECT_EQ(d.m.integers[1], 1023);
    EXPECT_EQ(d.m.integers[3], 1023);
    EXPECT_EQ(d.emulator.io.pins[7], 1);  // the last value sent: 0x80
    EXPECT_EQ(d.emulator.io.pins[0], 0);
    EXPECT_EQ(d.X(), 20);
}

}  // namespace
}  // namespace zr::emulator::testing
