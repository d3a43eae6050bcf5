// Every instruction of machine/opcodes.def with a fixed length moves the
// program counter past its opcode and exactly its operand bytes, and the
// jump family that does not jump past its address mode's bytes: the table's
// length column and the interpreter cannot drift apart.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "device_fixture.h"
#include "machine/opcodes.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

constexpr int kAt = 100;  // where the instruction under test stands

// A device about to run the instruction at kAt: eight values of 1 on the
// stack, one call level whose return address is the byte after the opcode
// (so Ret, RetIf and RetN land there as well).
struct InstructionAt : Device {
    explicit InstructionAt(const Code& code) {
        Load(code, kAt);
        for (int i = 0; i < 8; ++i) m.PushValue(1);
        m.returnStack[1] = kAt + 1;
        m.returnPointer = 2;
        m.SetProgramCounter(kAt);
    }
};

TEST(OpcodeLengths, FixedLengthInstructionsTakeTheirOperandBytes) {
    // Operand bytes that keep the instruction from faulting or jumping; the
    // rest take 1 (a Single, a first variable, a byte count).
    const int after = kAt + 1 + 4;
    const std::map<int, Code> operands = {
        {kSegm, Ops(Word(after), Word(0))},  // calls the byte after it
    };
    // Returns land on the byte after the opcode (the level set up above).
    const std::set<int> returns = {kRet, kRetIf, kRetN};
    // No serial line: the host ends the run and these give up after the opcode.
    const std::set<int> serialReads = {kSerialInput, kSerialLoad};
    int checked = 0;
    for (const OpcodeInfo& info : kOpcodeTable) {
        if (info.operandBytes < 0) continue;
        Code code = {info.value};
        const auto given = operands.find(info.value);
        if (given != operands.end())
            Append(code, given->second);
        else
            Append(code, Code(static_cast<std::size_t>(info.operandBytes), 1));
        InstructionAt device(code);
        device.emulator.Step();
        const int expected = returns.count(info.value) ? kAt + 1 : kAt + 1 + info.operandBytes;
        EXPECT_EQ(device.m.ProgramCounter(), expected) << info.name;
        if (serialReads.count(info.value)) {
            EXPECT_TRUE(device.emulator.endRequested) << info.name;
        } else {
            EXPECT_LT(device.RunState(), 3) << info.name << " faulted";
        }
        ++checked;
    }
    EXPECT_GT(checked, 80);
}

// A conditional call or goto whose condition is 0 still takes its operand:
// 1 byte (ShortOffset), 2 (an absolute word), none (the variable number
// comes from the stack), 1 (a variable operand).
TEST(OpcodeLengths, JumpsThatDoNotJumpTakeTheirAddressModesBytes) {
    const int modeBytes[] = {1, 2, 0, 1};
    for (int op = kFirstJumpOpcode; op <= 0xFF; ++op) {
        const JumpKind kind = JumpKindOf(static_cast<std::uint8_t>(op));
        if (kind != JumpKind::CallIf && kind != JumpKind::GoToIf) continue;
        const int bytes = modeBytes[static_cast<int>(AddressModeOf(static_cast<std::uint8_t>(op)))];
        // A short offset of 129 targets the next instruction; words name address 1.
        Code code = {static_cast<std::uint8_t>(op)};
        Append(code, bytes == 2 ? Word(1) : Code(static_cast<std::size_t>(bytes), 129));
        InstructionAt device(code);
        device.m.PushValue(0);  // the condition: nothing happens
        if (AddressModeOf(static_cast<std::uint8_t>(op)) == AddressMode::FromX)
            device.m.PushValue(1);  // above it the variable number (Single 1, holding 0)
        device.emulator.Step();
        EXPECT_EQ(device.m.ProgramCounter(), kAt + 1 + bytes) << std::hex << op;
        EXPECT_EQ(device.m.returnPointer, 2) << std::hex << op;
        EXPECT_EQ(device.RunState(), kRunning) << std::hex << op;
    }
}

}  // namespace
}  // namespace zr::emulator::testing
