#include "machine/opcodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zr::machine {
namespace {

TEST(OpcodeTable, LooksUpAssignedOpcodesOnly) {
    ASSERT_NE(FindOpcode(0x69), nullptr);
    EXPECT_EQ(FindOpcode(0x69)->word, "Dup");
    EXPECT_EQ(FindOpcode(0x7F)->word, "IF");
    EXPECT_EQ(FindOpcode(0x62)->operands, Operands::Var);
    EXPECT_EQ(FindOpcode(0x86)->word, "#10");
    for (int unassigned : {0x13, 0x1F, 0x3E, 0x3F, 0x44, 0x5F, 0x8A, 0xFF})
        EXPECT_EQ(FindOpcode(unassigned), nullptr) << unassigned;
}

// The operand-byte column against the layout column, and the run-loop class
// of the instructions that reach the display, keys, serial, events or state.
TEST(OpcodeTable, OperandBytesAndRunClassAgreeWithTheLayout) {
    const std::pair<Operands, int> fixed[] = {
        {Operands::None, 0},   {Operands::Byte, 1}, {Operands::Word, 2},
        {Operands::Single, 4}, {Operands::Var, 1},  {Operands::Segm, 4},
        {Operands::Series, 3}, {Operands::Send, 2}, {Operands::PrintList, -1},
        {Operands::Table, -1}, {Operands::OnX, -1}, {Operands::Loop, -1}};
    for (const auto& info : kOpcodeTable) {
        const auto layout = std::find_if(std::begin(fixed), std::end(fixed),
                                         [&](const auto& f) { return f.first == info.operands; });
        ASSERT_NE(layout, std::end(fixed)) << info.name;
        EXPECT_EQ(info.operandBytes, layout->second) << info.name;
    }
    for (int op : {kEnd,         kCls,         kWait,       kInput,  kPrint,  kTable,  kTimer,
                   kEvents,      kSegm,        kPrtX,       kMode,   kMode7D, kSeries, kSend,
                   kSerialPrint, kSerialInput, kSerialLoad, kKeyCod, kKeyReg, kEdit})
        EXPECT_EQ(FindOpcode(op)->runClass, RunClass::Attention) << FindOpcode(op)->name;
    for (int op : {kAdd, kiM, kMv, kPushInt, kRet, kLoop, kOnX, kPoke, kSkipIfZero})
        EXPECT_EQ(FindOpcode(op)->runClass, RunClass::Plain) << FindOpcode(op)->name;
}

TEST(JumpFamily, KindAndAddressModeFromLowBits) {
    EXPECT_EQ(JumpKindOf(0xF1), JumpKind::Call);
    EXPECT_EQ(AddressModeOf(0xF1), AddressMode::Absolute);
    EXPECT_EQ(JumpKindOf(0xF6), JumpKind::GoTo);
    EXPECT_EQ(AddressModeOf(0xF6), AddressMode::FromX);
    EXPECT_EQ(JumpKindOf(0xFD), JumpKind::GoToIf);
    EXPECT_EQ(JumpKindOf(0x8A), JumpKind::CallIf);  // only the low four bits matter
    EXPECT_EQ(AddressModeOf(0x8A), AddressMode::FromX);
    EXPECT_TRUE(IsJump(0x8A));
    EXPECT_FALSE(IsJump(0x89));
}

}  // namespace
}  // namespace zr::machine
