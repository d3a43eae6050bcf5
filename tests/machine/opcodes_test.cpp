#include "machine/opcodes.h"

#include <gtest/gtest.h>

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
