#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

const NameRecord& Named(const Compiler& c, std::string_view name) {
    const int slot = c.names.FindName(name);
    EXPECT_NE(slot, 0) << name;
    return c.names[slot];
}

TEST(Declarations, ListsOfNamesTakeConsecutiveIndices) {
    const auto c = Compile("DimI a, b, c\nDimS x y(3) z\nDimB p(2), q");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    const std::pair<const char*, int> operands[] = {{"a", 136}, {"b", 137}, {"c", 138},
                                                    {"y", 2},   {"z", 5},   {"q", 35}};
    for (const auto& [name, operand] : operands)
        EXPECT_EQ(VariableOperand(Named(*c, name)), operand);
    EXPECT_EQ(Named(*c, "y").kind, NameKind::SingleArray);
    EXPECT_EQ(c->names.nextSingle, 6);
    EXPECT_EQ(c->compileAddress, 1);
}

TEST(Declarations, InitialValuesCompileToInitialisationTables) {
    const BytesCase cases[] = {
        {"DimI a = 5", "70 C1 88 00 05"},
        {"DimI t [1, 2, 3]", "70 C3 88 00 01 89 00 02 8A 00 03"},
        {"DimI t [-32766, 32766]", "70 C2 88 FF FE 89 7F FE"},
        {"DimB b [0, 255]", "70 C2 21 00 22 FF"},
        {"DimS s = 1", "70 C1 01 00 00 80 3F"},
        {"DimS pad\nDimS s [2.5 -2.5]", "70 C2 02 00 00 20 40 03 00 00 20 C0"},
    };
    for (const auto& c : cases) ExpectBytes(c);
    const auto c = Compile("DimI t [1, 2, 3]");
    EXPECT_EQ(Named(*c, "t").kind, NameKind::IntegerArray);
    EXPECT_EQ(Named(*c, "t").size, 3);
}

TEST(Declarations, SixtyFourInitialValuesSplitIntoTwoTables) {
    std::string list = "DimB big [";
    for (int i = 1; i <= 64; ++i) list += std::to_string(i) + (i < 64 ? ", " : "]");
    const auto c = Compile(list);
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    // 63 pairs from operand 33 (0x21), then a table of one: the 64th element.
    ASSERT_EQ(CodeBytes(*c).size(), 2u + 63 * 2 + 2 + 2);
    EXPECT_EQ(BytesAt(*c, 1, 3), Hex("70 FF 21"));
    EXPECT_EQ(BytesAt(*c, 127, 6), Hex("5F 3F 70 C1 60 40"));
    EXPECT_EQ(Named(*c, "big").size, 64);
}

TEST(Declarations, DataListsAndLabelsAreRecorded) {
    const auto c = Compile("Messanges msg [\"Hi\", \"Yo\"]\nDup\nTop: Drop");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    const NameRecord& m = Named(*c, "msg");
    EXPECT_EQ(m.kind, NameKind::MessagesList);
    EXPECT_EQ(m.dataText, "\"Hi\", \"Yo\"]");
    EXPECT_EQ(Named(*c, "Top").address, 2);
    EXPECT_EQ(Named(*c, "Top").kind, NameKind::Label);
}

TEST(Declarations, ErrorsRaiseTheirMessage) {
    std::string names513;
    for (int i = 0; i < 501; ++i) names513 += "Top" + std::to_string(i) + ":\n";
    const MessageCase cases[] = {
        {"DimI i", messages::kNameDeclared},
        {"DimS I", messages::kNameDeclared},
        {"Top:\nL:", messages::kNameDeclared},
        {"DimS x(33)", messages::kArrayDoesNotFit},
        {"DimB q(101)", messages::kBadArrayIndex},
        {"DimI e []", messages::kBadArrayIndex},
        {"DimB q(5", messages::kBadArrayIndex},
        {"DimS x(32)\nDimS y", messages::kTooManySingles},
        {"DimB x(96)\nDimB y", messages::kTooManyIntegers},
        {"DimI x(100)\nDimI y(16)\nDimI z", messages::kTooManyIntegers},
        {"DimI a = 32767", messages::kOverflow},
        {"DimI a = -32767", messages::kOverflow},
        {"DimB a = 256", messages::kOverflow},
        {"DimI a [1, 2", messages::kSyntaxError},
        {"DimI a =", messages::kSyntaxError},
        {"Bytes b 1, 2", messages::kSyntaxError},
        {"Bytes RX [1]\n", messages::kNameDeclared},
        {names513, messages::kNameTableFull},
    };
    for (const auto& c : cases) ExpectMessage(c);
    ExpectMessage({"DimB a [" + Repeat("1 ", 65) + "]", messages::kArrayTooBig});
}

TEST(Declarations, DataTextWithoutLineEndWidensTheSelection) {
    const auto c = Compile("Bytes b [1, 2");
    EXPECT_EQ(FirstMessage(*c), messages::kSyntaxError);
    EXPECT_EQ(c->errorLength, 9 + 16);
}

}  // namespace
}  // namespace zr::compiler
