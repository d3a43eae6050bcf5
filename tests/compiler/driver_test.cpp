// Whole-program compiles: the driver's own statements, numbers, keyword words,
// the statement map and the error selection.
#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

TEST(Driver, WorkedExampleGivesBytesAndStatementMap) {
    const auto c = Compile("DimS x\n3.5 -> x\nx Dup *\n-> x\nEnd");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(CodeBytes(*c), Hex("73 00 00 60 40 62 01 60 01 69 02 62 01 66"));
    EXPECT_EQ(c->compileAddress, 15);
    const std::vector<std::pair<std::string, int>> expected = {{"DimS", 1}, {"3.5", 1},  {"->", 6},
                                                               {"x", 8},    {"Dup", 10}, {"*", 11},
                                                               {"->", 12},  {"End", 14}};
    ASSERT_EQ(c->statementMap.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(c->statementMap[i].word, expected[i].first);
        EXPECT_EQ(c->statementMap[i].address, expected[i].second);
    }
    EXPECT_EQ(Compile("")->compileAddress, 1);
}

TEST(Driver, SnippetsCompileToTheirBytes) {
    const BytesCase cases[] = {
        // number literals: PushByte, PushInt, PushSingle
        {"255 256 -1", "71 FF 72 01 00 72 80 01"},
        {"32766 -32766", "72 7F FE 72 FF FE"},
        {"32767", "73 00 FE FF 46"},
        {"2.5 1E5", "73 00 00 20 40 73 00 50 C3 47"},
        {"0 &H10 12abc", "71 00 71 10 71 0C"},
        // keyword words, any case (their bytes are the instruction table's, checked there)
        {"DUP Dup dup", "69 69 69"},
        // counted bytes and Rol's parameter byte
        {"DupN 2 DupN 32 SwapN 3", "6A 02 6A 20 79 03"},
        {"Rol 3 -2 Rol 16 1 Rol 16 8", "40 93 40 10 40 70"},
        // address-of: labels give their address, Integer kinds their operand index
        {"x#\nx:", "72 00 04"},
        {"DimS a(3)\nDimI q(2)\nDimB b\nq# b#", "72 00 88 72 00 01"},
        // Timer, Events, iM and their operands
        {"Timer Tick\nEnd\nTick: Ret", "74 00 05 66 6C"},
        {"Events Tick\nTick: Ret", "76 00 04 6C"},
        {"iM i\nDimB q\niM q", "60 81 60 21"},
        // Series and Send name an array's first and last element
        {"DimB pad(4)\nDimB a(4)\nSeries (2) a", "80 02 25 28"},
        {"DimI w(3)\nSend w", "81 88 8A"},
    };
    for (const auto& c : cases) ExpectBytes(c);

    const auto adres = Compile("$Adres 1024\nEnd");
    EXPECT_EQ(adres->programImage[1024], 0x66);
    EXPECT_EQ(adres->compileAddress, 1025);
}

TEST(Driver, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"0.0", messages::kSyntaxError},
        {"-0", messages::kSyntaxError},
        {"nosuchname", messages::kSyntaxError},
        {"IF", messages::kSyntaxError},
        {"^ 2", messages::kSyntaxError},
        {"DupN 1", messages::kStackOverflow},
        {"DupN 33", messages::kStackOverflow},
        {"$Adres 0", messages::kBadCompileAddress},
        {"$Adres 1025", messages::kBadCompileAddress},
        {"Rol 2 1", messages::kBadParameter},
        {"Rol 3 0", messages::kBadParameter},
        {"Rol 3 9", messages::kBadParameter},
        {"DimS x\nTimer x", messages::kNotAProgram},
        {"Timer Nowhere", messages::kLabelNotFound},
        {"Nowhere#", messages::kLabelNotFound},
        {"iM nope", messages::kSyntaxError},
        {"DimS a(3)\niM a", messages::kSimpleVariableOrConstant},
        {"Series 2 a", messages::kSyntaxError},
        {"DimB a(4)\nSeries (5) a", messages::kBadChannel},
        {"Series (1) a", messages::kArrayNameExpected},
        {"DimB a\nSend a", messages::kNotAnArray},
        {"$Adres 1024\nDup2 Dup", messages::kOutOfMemory},
        {"$Adres 1024\n300", messages::kInternalError},
        {"1E50", messages::kInternalError},
        {Repeat("Dup\n", 1024) + "Drop\n", messages::kOutOfMemory},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

TEST(Driver, FullMemoryEndingWithLineEndOrCommentCompiles) {
    for (const std::string tail : {"", "\n\n", "' done\n"}) {
        const auto c = Compile(Repeat("Dup\n", 1024) + tail);
        EXPECT_FALSE(c->compileFailed) << FirstMessage(*c);
        EXPECT_EQ(c->compileAddress, 1025);
    }
}

TEST(Driver, ErrorSelectionCoversTheStatementUpToTheFailingWord) {
    const auto c = Compile("Dup\nDupN 40\nDrop");
    EXPECT_EQ(c->errorStart, 5);   // the statement's scan starts at the LF after "Dup\r"
    EXPECT_EQ(c->errorLength, 8);  // "\nDupN 40" up to the end of "40"
}

TEST(Driver, StatementsWithoutBytesTakeMapSlotsBeyond1024) {
    std::string labels;
    for (int i = 0; i < 500; ++i) labels += "L" + std::to_string(i) + ": Dup Dup\n";
    const auto full = Compile(labels);
    EXPECT_FALSE(full->compileFailed) << FirstMessage(*full);
    EXPECT_EQ(full->statementMap.size(), 1500u);
}

}  // namespace
}  // namespace zr::compiler
