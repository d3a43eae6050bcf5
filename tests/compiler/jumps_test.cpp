#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

std::string Dups(int count) {
    return Repeat("Dup\n", count);
}

TEST(Jumps, TargetFormsAndConditionsCompileToTheirBytes) {
    const BytesCase cases[] = {
        {"Top: Dup Dup Dup Dup Dup Dup Dup Dup Dup Dup\ngoto @Top",
         "69 69 69 69 69 69 69 69 69 69 F4 75"},
        {"Top: Dup\ngoto @ Top", "69 F4 7E"},
        {"Top: Dup\ncall Top", "69 F1 00 01"},
        {"goto x", "F6"},
        {"call r@ i", "F3 81"},
        {"DimS v\ngoto r@ v", "F7 01"},
        {"ret", "6C"},
        {"=0 goto Mid\nMid:", "37 FD 00 05"},
        {"<0 ret", "35 6D"},
        {">=0 call x", "39 FA"},
        {"<>0 ret ><0 ret <> ret >< ret", "3C 6D 3C 6D 0A 6D 0A 6D"},
        {"< ret <= ret = ret > ret >= ret >0 ret <=0 ret",
         "07 6D 08 6D 09 6D 0B 6D 0C 6D 38 6D 36 6D"},
        {"stack>x goto @Mid\nMid:", "FC 81"},
        {"port>0 call Mid\nMid:", "F9 00 04"},
        // IF / ELSE / THEN: the IF's skip byte counts from the byte after it;
        // ELSE's goto takes a short offset to THEN
        {"> if\nDup\nthen\nEnd", "0B 7F 01 69 66"},
        {"> if\nDup\nelse\nDrop\nthen\nEnd", "0B 7F 03 69 F4 82 68 66"},
        {"=0 if\n=0 if\nDup\nthen\nthen", "37 7F 04 37 7F 01 69"},
        {Repeat("=0 if\n", 8) + Repeat("then\n", 8),
         "37 7F 15 37 7F 12 37 7F 0F 37 7F 0C 37 7F 09 37 7F 06 37 7F 03 37 7F 00"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(Jumps, ShortJumpBoundsAtCompileTimeAndInThePass) {
    // Backwards: the label 127 bytes before the jump byte fits, 128 does not.
    EXPECT_EQ(BytesAt(*Compile("Top:\n" + Dups(127) + "goto @Top"), 128, 2), Hex("F4 00"));
    ExpectMessage({"Top:\n" + Dups(128) + "goto @Top", messages::kShortAddressOnly});
    // Forwards (resolved by the pass): 128 bytes after the jump byte fits, 129 does not.
    EXPECT_EQ(BytesAt(*Compile("goto @Top\n" + Dups(126) + "Top:"), 1, 2), Hex("F4 FF"));
    ExpectMessage({"goto @Top\n" + Dups(127) + "Top:", messages::kShortAddressOnly});
    // The IF's skip byte reaches 255 bytes.
    EXPECT_EQ(BytesAt(*Compile("=0 if\n" + Dups(255) + "then"), 1, 3), Hex("37 7F FF"));
}

TEST(Jumps, ConditionWordsAddTheFollowingWordToTheStatementMap) {
    const auto c = Compile("=0 goto Mid\nMid:");
    ASSERT_GE(c->statementMap.size(), 2u);
    EXPECT_EQ(c->statementMap[1].word, "goto");
    EXPECT_EQ(c->statementMap[1].address, 2);
}

TEST(Jumps, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"DimS v\ngoto v", messages::kNotAProgram},
        {"DimS v\ngoto @v", messages::kNotAProgram},
        {"call r@ nope", messages::kReferenceExpected},
        {"DimB b\ncall r@ b", messages::kVariableExpected},
        {"=0 Dup", messages::kSyntaxError},
        {"else", messages::kElseWithoutIf},
        {"then", messages::kThenWithoutIf},
        {"=0 if\nDup", messages::kIfWithoutThen},
        {"goto Nowhere", messages::kLabelNotFound},
        {"=0 if\n" + Dups(128) + "else\nthen", messages::kShortAddressOnly},
        {"=0 if\nelse\n" + Dups(128) + "then", messages::kShortAddressOnly},
        {"=0 if\n" + Dups(256) + "then", messages::kShortAddressOnly},
        {Repeat("=0 if\n", 9), messages::kTooManyNestedIfs},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

TEST(Jumps, LateErrorsSelectTheRecordedStatement) {
    const auto missing = Compile("Dup\ngoto Nowhere\nDrop");
    EXPECT_EQ(missing->errorStart, 5);    // the statement's scan starts at the LF after "Dup\r"
    EXPECT_EQ(missing->errorLength, 13);  // "\ngoto Nowhere"
    const auto open = Compile("Dup\n=0 if\nDrop");
    EXPECT_EQ(open->errorStart, 5);
    EXPECT_EQ(open->errorLength, 6);
}

TEST(Jumps, ManyForwardReferencesResolve) {
    const auto c = Compile(Repeat("call Far\n", 200) + "Far: Ret");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(BytesAt(*c, 598, 3), Hex("F1 02 59"));
}

}  // namespace
}  // namespace zr::compiler
