#include "emulator/predecoded.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "tests/emulator/device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

// Nothing but the Emulator can change a cell: the memory hands out values.
static_assert(!std::is_assignable_v<decltype(std::declval<ProgramMemory&>()[0]), std::uint8_t>);

// An absolute jump: the opcode and its target word.
Code Absolute(std::uint8_t op, int target) {
    const auto word = IntegerBytes(target);
    return {op, word[0], word[1]};
}

ProgramMemory MemoryWith(int address, const Code& code) {
    ProgramImage image{};
    for (std::size_t i = 0; i < code.size(); ++i) image[address + i] = code[i];
    return ProgramMemory(image);
}

TEST(Predecoded, EntriesAsTheDeviceReadsTheBytes) {
    const auto single = SingleBytes(2.5f);
    const struct {
        const char* name;
        int address;
        Code code;
        std::uint16_t kind;
        int length;
        int index;
        float value;
        int target;
    } cases[] = {
        {"iM of a Single", 1, Ops(kiM, 5), kLoadSingle, 2, 5, 0, 0},
        {"iM of an Integer", 1, Ops(kiM, 130), kLoadInteger, 2, 2, 0, 0},
        {"iM of a Byte runs from memory", 1, Ops(kiM, 40), kiM, 1, 0, 0, 0},
        {"iM of RX runs from memory", 1, Ops(kiM, 0), kiM, 1, 0, 0, 0},
        {"Mv to a Single", 1, Ops(kMv, 32), kStoreSingle, 2, 32, 0, 0},
        {"Mv to an Integer", 1, Ops(kMv, 251), kStoreInteger, 2, 123, 0, 0},
        {"Mv to the Stack name runs from memory", 1, Ops(kMv, 252), kMv, 1, 0, 0, 0},
        {"PushByte", 1, Ops(kPushByte, 200), kPushConstant, 2, 0, 200, 0},
        {"PushInt, negative", 1, Ops(kPushInt, 0x81, 0x02), kPushConstant, 3, 0, -258, 0},
        {"PushSingle", 1, Ops(kPushSingle, single[0], single[1], single[2], single[3]),
         kPushConstant, 5, 0, 2.5f, 0},
        {"PushByte with its operand in the last cell", 1023, Ops(kPushByte, 7), kPushConstant, 2, 0,
         7, 0},
        {"PushInt running past the end faults from memory", 1023, Ops(kPushInt, 1), kPushInt, 1, 0,
         0, 0},
        {"iM in the last cell faults from memory", 1024, Ops(kiM), kiM, 1, 0, 0, 0},
        {"PushSingle running past the end", 1021, Ops(kPushSingle, 1, 2, 3), kPushSingle, 1, 0, 0,
         0},
        {"absolute GoTo", 1, Absolute(0xF5, 300), kGoTo, 3, 0, 0, 300},
        {"absolute target kept as it is", 1, Absolute(0xF5, -5), kGoTo, 3, 0, 0, -5},
        {"absolute conditional call", 1, Absolute(0xF9, 1024), kCallIf, 3, 0, 0, 1024},
        {"short GoTo counts from the byte after the offset", 10, Ops(0xF4, 129), kGoTo, 2, 0, 0,
         12},
        {"short conditional GoTo backwards", 10, Ops(0xFC, 120), kGoToIf, 2, 0, 0, 3},
        {"short jump to 0", 10, Ops(0xF0, 117), kCall, 2, 0, 0, 0},
        {"short jump below 0 faults from memory", 10, Ops(0xF4, 100), 0xF4, 1, 0, 0, 0},
        {"short jump past 1024 faults from memory", 1000, Ops(0xF4, 255), 0xF4, 1, 0, 0, 0},
        {"jump from a variable runs from memory", 1, Ops(0xF7, 129), 0xF7, 1, 0, 0, 0},
        {"jump from X runs from memory", 1, Ops(0xF6), 0xF6, 1, 0, 0, 0},
        {"low jump family opcodes decode as their kind", 1, Absolute(0x95, 50), kGoTo, 3, 0, 0, 50},
        {"IF's skip", 1, Ops(kSkipIfZero, 9), kSkip, 2, 0, 0, 9},
        {"counted Loop: the way back counts from the mode byte", 17, Ops(kLoop, 1, 8, Word(10)),
         kDecodedLoop, 5, 1, 0, 10},
        {"compare Loop with an Integer limit", 30, Ops(kLoop, 8, 20, Word(32500 + 130)),
         kDecodedLoop, 5, 0, 0, 11},
        {"Loop with a Byte limit runs from memory", 30, Ops(kLoop, 1, 20, Word(32500 + 40)), kLoop,
         1, 0, 0, 0},
        {"Loop over a value list runs from memory", 30, Ops(kLoop, 0x12, 20, Word(1), Word(2)),
         kLoop, 1, 0, 0, 0},
        {"a value list whose first word names an Integer", 30,
         Ops(kLoop, 0x11, 20, Word(32500 + 201)), kLoop, 1, 0, 0, 0},
        {"Loop running past the end faults from memory", 1021, Ops(kLoop, 1, 8, 0), kLoop, 1, 0, 0,
         0},
        {"Add runs from memory", 1, Ops(kAdd), kAdd, 1, 0, 0, 0},
        {"an unassigned opcode faults from memory", 1, Ops(0x50, 1, 2), 0x50, 1, 0, 0, 0},
        {"a data list jumped into decodes as code", 1, Ops(kPrint, kPushByte, 3), kPrint, 1, 0, 0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = DecodeAt(MemoryWith(c.address, c.code), c.address);
        EXPECT_EQ(d.kind, c.kind);
        EXPECT_EQ(d.length, c.length);
        EXPECT_EQ(d.index, c.index);
        EXPECT_EQ(d.value, c.value);
        EXPECT_EQ(d.target, c.target);
    }
}

TEST(Predecoded, FusedUnits) {
    const auto single = SingleBytes(2.5f);
    const struct {
        const char* name;
        int address;
        Code code;
        std::uint16_t kind;
        int length;
        int count;
        Source::Area first;
        Source::Area second;
        int target;
    } cases[] = {
        {"load-constant-operate", 1, Ops(kiM, 1, PushByte(3), kDivide),
         FusedKind(FusedShape::PushPushOperate, 2, 0), 5, 3, Source::Single, Source::Constant, 0},
        {"constant-operate", 1, Ops(PushByte(7), kAdd), FusedKind(FusedShape::PushOperate, 9, 0), 3,
         2, Source::Constant, Source::Constant, 0},
        {"compare and branch", 1, Ops(kiM, 129, PushInt(30000), kLess, 0xFC, 121),
         FusedKind(FusedShape::PushPushOperateBranch, 3, kFirstIsInteger), 8, 4, Source::Integer,
         Source::Constant, 1},
        {"compare and IF's skip", 1, Ops(kiM, 2, kGreater, kSkipIfZero, 4),
         FusedKind(FusedShape::PushOperateSkip, 7, 0), 5, 3, Source::Single, Source::Constant, 4},
        {"the longest unit", 1,
         Ops(kPushSingle, single[0], single[1], single[2], single[3], kPushSingle, single[0],
             single[1], single[2], single[3], kEqual),
         FusedKind(FusedShape::PushPushOperate, 5, 0), 11, 3, Source::Constant, Source::Constant,
         0},
        {"operate and store", 1, Ops(kiM, 1, PushByte(7), kAdd, kMv, 1),
         FusedKind(FusedShape::PushPushOperateStore, 9, 0), 7, 4, Source::Single, Source::Constant,
         0},
        {"Mod and store to an Integer", 1, Ops(PushByte(7), kMod, kMv, 129),
         FusedKind(FusedShape::PushOperateStore, 10, 0), 5, 3, Source::Constant, Source::Constant,
         0},
        {"a Byte's Mv is no tail", 1, Ops(PushByte(7), kAdd, kMv, 40),
         FusedKind(FusedShape::PushOperate, 9, 0), 3, 2, Source::Constant, Source::Constant, 0},
        {"a Single times an Integer", 1, Ops(kiM, 1, kiM, 129, kMultiply),
         FusedKind(FusedShape::PushPushOperate, 1, kSecondIsInteger), 5, 3, Source::Single,
         Source::Integer, 0},
        {"a Single's Decr into an Integer", 1, Ops(kiM, 1, kDecr, kMv, 130),
         kBump + kSecondIsInteger, 5, 3, Source::Single, Source::Constant, 0},
        {"an element read with an Integer index", 1, Ops(kiM, 130, kLoadElement, 136),
         kElementLoad + kFirstIsInteger, 4, 2, Source::Integer, Source::Constant, 0},
        {"an element written with a Single index", 1, Ops(kiM, 3, kStoreElement, 1), kElementStore,
         4, 2, Source::Single, Source::Constant, 0},
        {"an element of the stack area runs alone", 1, Ops(kiM, 130, kLoadElement, 252),
         kLoadInteger, 2, 1, Source::Constant, Source::Constant, 0},
        {"=0 then IF's skip", 1, Ops(kEqualZero, kSkipIfZero, 9), kZeroCompareSkip + 2, 3, 2,
         Source::Constant, Source::Constant, 9},
        {"<>0 without a skip runs alone", 1, Ops(kNotEqualZero, kDrop), kNotEqualZero, 1, 1,
         Source::Constant, Source::Constant, 0},
        {"a chain with a store", 1, Ops(kiM, 1, PushByte(3), kDivide, PushByte(7), kAdd, kMv, 1),
         static_cast<std::uint16_t>(kChain + 3 * kIntegerChoices), 10, 6, Source::Single,
         Source::Constant, 0},
        {"a chain of Integers that branches", 1,
         Ops(kiM, 129, kiM, 130, kMultiply, PushByte(2), kLess, 0xFC, 120),
         static_cast<std::uint16_t>(kChain + kIntegerChoices + 3), 10, 6, Source::Integer,
         Source::Integer, 2},
        {"iM; Incr; Mv", 1, Ops(kiM, 129, kIncr, kMv, 130), kBump + 3, 5, 3, Source::Integer,
         Source::Constant, 0},
        {"no unit takes in an instruction at 1024", 1022, Ops(PushByte(1), kAdd), kPushConstant, 2,
         1, Source::Constant, Source::Constant, 0},
        {"a constant's Incr is no bump", 1, Ops(PushByte(1), kIncr), kPushConstant, 2, 1,
         Source::Constant, Source::Constant, 0},
        {"iM then Mv is no unit", 1, Ops(kiM, 1, kMv, 2), kLoadSingle, 2, 1, Source::Constant,
         Source::Constant, 0},
        {"a Byte's iM runs alone", 1, Ops(kiM, 40, PushByte(1), kAdd), kiM, 1, 1, Source::Constant,
         Source::Constant, 0},
        {"And is not fused", 1, Ops(PushByte(1), kAnd), kPushConstant, 2, 1, Source::Constant,
         Source::Constant, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = DecodeAt(MemoryWith(c.address, c.code), c.address);
        EXPECT_EQ(d.kind, c.kind);
        EXPECT_EQ(d.length, c.length);
        EXPECT_EQ(d.count, c.count);
        EXPECT_EQ(d.first.area, c.first);
        EXPECT_EQ(d.second.area, c.second);
        EXPECT_EQ(d.target, c.target);
    }
}

TEST(Predecoded, EntriesDependOnNoMoreBytesThanAWriteDrops) {
    // Three PushSingles, two operations and an absolute GoToIf: the longest chain.
    const auto single = SingleBytes(1.0f);
    const Code longest =
        Ops(kPushSingle, single[0], single[1], single[2], single[3], kPushSingle, single[0],
            single[1], single[2], single[3], kAdd, kPushSingle, single[0], single[1], single[2],
            single[3], kMultiply, kGoToIfBase + 1, 0, 1);
    EXPECT_EQ(DecodeAt(MemoryWith(1, longest), 1).length, kMaxDecodedLength);
    for (int op = 0; op < 256; ++op) {
        const Decoded d = DecodeAt(MemoryWith(1, Ops(op, 1, 2, 3, 4, 5, 6)), 1);
        EXPECT_LE(d.length, kMaxDecodedLength) << op;
    }
}

// The run loop decodes the first round and must see what the round wrote
// into code: a POKE into an executed constant, then a whole memory put back.
TEST(Predecoded, TheRunLoopSeesWritesIntoDecodedCode) {
    //  1: PushByte 5; Mv s1; PushInt 2; PushByte 9; POKE      (address 2 := 9)
    // 11: iM i1; Incr; Mv i1; iM i1; PushByte 2; <; GoToIf 1; End
    const Code code = Ops(PushByte(5), kMv, 1, kPushInt, Word(2), PushByte(9), kPoke, kiM, 129,
                          kIncr, kMv, 129, kiM, 129, PushByte(2), kLess, 0xFD, Word(1), kEnd);
    Device d("enter,enter");
    d.Run(code);
    EXPECT_EQ(d.m.singles[1], 9);
    EXPECT_EQ(d.m.integers[1], 2);

    DeviceState other = d.emulator.state();
    ProgramImage image = other.machine.programImage.image();
    image[2] = 4;
    other.machine.programImage = ProgramMemory(image);
    other.machine.runState = kRunning;
    other.machine.SetProgramCounter(1);
    other.machine.integers[1] = 1;  // one round
    d.emulator.RestoreState(other);
    d.emulator.PrepareNextRun();
    d.emulator.ResumeLoop();
    EXPECT_EQ(d.m.singles[1], 4);
    EXPECT_EQ(d.m.integers[1], 2);
}

}  // namespace
}  // namespace zr::emulator::testing
