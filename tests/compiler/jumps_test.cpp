#include <gtest/gtest.h>

#include "compile_helpers.h"
#include "compiler/messages.h"

namespace zr::compiler {
namespace {

using testing::BytesAt;
using testing::CodeBytes;
using testing::Compile;
using testing::FirstMessage;
using testing::Hex;

std::string Dups(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Dup\n";
    return text;
}

TEST(Jumps, TargetFormsCompileToTheirBytes) {
    const struct {
        const char* source;
        const char* bytes;
    } cases[] = {
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
        {">= ret", "0C 6D"},
        {"<>0 ret ><0 ret", "3C 6D 3C 6D"},
        {"<> ret >< ret", "0A 6D 0A 6D"},
        {"< ret <= ret = ret > ret >0 ret <=0 ret", "07 6D 08 6D 09 6D 0B 6D 38 6D 36 6D"},
        {"stack>x goto @Mid\nMid:", "FC 81"},
        {"port>0 call Mid\nMid:", "F9 00 04"},
        {"goto @Mid\nDup\nMid:", "F4 82 69"},
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
        EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
    }
}

TEST(Jumps, ShortJumpBoundsAtCompileTimeAndInThePass) {
    // Backwards: the label 127 bytes before the jump byte fits, 128 does not.
    EXPECT_EQ(BytesAt(*Compile("Top:\n" + Dups(127) + "goto @Top"), 128, 2), Hex("F4 00"));
    EXPECT_EQ(FirstMessage(*Compile("Top:\n" + Dups(128) + "goto @Top")),
              messages::kShortAddressOnly);
    // Forwards (resolved by the pass): 128 bytes after the jump byte fits, 129 does not.
    EXPECT_EQ(BytesAt(*Compile("goto @Top\n" + Dups(126) + "Top:"), 1, 2), Hex("F4 FF"));
    EXPECT_EQ(FirstMessage(*Compile("goto @Top\n" + Dups(127) + "Top:")),
              messages::kShortAddressOnly);
    // Backwards again, through "@Top" written as one word.
    EXPECT_EQ(BytesAt(*Compile("Top:\n" + Dups(127) + "goto @Top"), 128, 2), Hex("F4 00"));
}

TEST(Jumps, IfElseThenPatchTheirSlots) {
    const struct {
        const char* source;
        const char* bytes;
    } cases[] = {
        {"> if\nDup\nthen\nEnd", "0B 7F 01 69 66"},
        {"> if\nDup\nelse\nDrop\nthen\nEnd", "0B 7F 03 69 F4 82 68 66"},
        {"=0 if then", "37 7F 00"},
        {"=0 if\n=0 if\nDup\nthen\nthen", "37 7F 04 37 7F 01 69"},
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
        EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
    }
}

TEST(Jumps, ConditionWordsAddTheFollowingWordToTheStatementMap) {
    const auto c = Compile("=0 goto Mid\nMid:");
    ASSERT_GE(c->statementMap.size(), 2u);
    EXPECT_EQ(c->statementMap[0].word, "=0");
    EXPECT_EQ(c->statementMap[1].word, "goto");
    EXPECT_EQ(c->statementMap[1].address, 2);
}

TEST(Jumps, ErrorsRaiseTheirMessage) {
    const struct {
        std::string source;
        std::string_view message;
    } cases[] = {
        {"DimS v\ngoto v", messages::kNotAProgram},
        {"DimS v\ngoto @v", messages::kNotAProgram},
        {"call r@ nope", messages::kReferenceExpected},
        {"DimB b\ncall r@ b", messages::kVariableExpected},
        {"Top:\ncall r@ Top", messages::kVariableExpected},
        {"=0 Dup", messages::kSyntaxError},
        {"else", messages::kElseWithoutIf},
        {"then", messages::kThenWithoutIf},
        {"=0 if\nDup", messages::kIfWithoutThen},
        {"goto Nowhere", messages::kLabelNotFound},
        {"=0 if\n" + Dups(128) + "else\nthen", messages::kShortAddressOnly},
        {"=0 if\nelse\n" + Dups(128) + "then", messages::kShortAddressOnly},
        {"=0 if\n" + Dups(256) + "then", messages::kShortAddressOnly},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstMessage(*Compile(c.source)), c.message) << c.source.substr(0, 30);

    std::string nine;
    for (int i = 0; i < 9; ++i) nine += "=0 if\n";
    EXPECT_EQ(FirstMessage(*Compile(nine)), messages::kTooManyNestedIfs);
    std::string eight;
    for (int i = 0; i < 8; ++i) eight += "=0 if\n";
    for (int i = 0; i < 8; ++i) eight += "then\n";
    EXPECT_FALSE(Compile(eight)->compileFailed);
}

TEST(Jumps, LateErrorsSelectTheRecordedStatement) {
    const auto missing = Compile("Dup\ngoto Nowhere\nDrop");
    EXPECT_EQ(FirstMessage(*missing), messages::kLabelNotFound);
    EXPECT_EQ(missing->errorStart, 5);    // the statement's scan starts at the LF after "Dup\r"
    EXPECT_EQ(missing->errorLength, 13);  // "\ngoto Nowhere"

    const auto open = Compile("Dup\n=0 if\nDrop");
    EXPECT_EQ(FirstMessage(*open), messages::kIfWithoutThen);
    EXPECT_EQ(open->errorStart, 5);
    EXPECT_EQ(open->errorLength, 6);
}

TEST(Jumps, ThousandForwardReferencesResolve) {
    std::string source;
    for (int i = 0; i < 200; ++i) source += "call Far\n";
    source += "Far: Ret";
    const auto c = Compile(source);
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(BytesAt(*c, 598, 3), Hex("F1 02 59"));
}

}  // namespace
}  // namespace zr::compiler
