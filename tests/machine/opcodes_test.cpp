#include "machine/opcodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zr::machine {
namespace {

// The words of assigned opcodes are checked against the keyword table.
TEST(OpcodeTable, UnassignedOpcodesAreNotFound) {
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

}  // namespace
}  // namespace zr::machine
