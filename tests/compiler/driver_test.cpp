// Whole-program compiles: the driver's own statements, numbers, keyword words,
// the statement map and the error selection.
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
}

TEST(Driver, EmptySourceCompilesToNothing) {
    const auto c = Compile("");
    EXPECT_FALSE(c->compileFailed);
    EXPECT_EQ(c->compileAddress, 1);
    EXPECT_TRUE(c->statementMap.empty());
}

TEST(Driver, SnippetsCompileToTheirBytes) {
    const struct {
        const char* source;
        const char* bytes;
    } cases[] = {
        {"255", "71 FF"},
        {"256", "72 01 00"},
        {"-1", "72 80 01"},
        {"32766", "72 7F FE"},
        {"-32766", "72 FF FE"},
        {"32767", "73 00 FE FF 46"},
        {"2.5", "73 00 00 20 40"},
        {"1E5", "73 00 50 C3 47"},
        {"0", "71 00"},
        {"&H10", "71 10"},
        {"12abc", "71 0C"},
        {"DUP Dup dup", "69 69 69"},
        {"e pi", "20 21"},
        {"DupN 2", "6A 02"},
        {"DupN 32", "6A 20"},
        {"SwapN 3", "79 03"},
        {"Rol 3 -2", "40 93"},
        {"Rol 16 1", "40 10"},
        {"Rol 16 8", "40 70"},
        {"#16 #10", "85 86"},
        {"^2 ^X ^x", "26 0D 0D"},
        {"+ - * / Neg Or And XOr Not &", "12 01 02 03 2E 04 06 05 27 11"},
        {"Drop End X1 Swap Cls Dup2 Over Wait BynRol PrtX", "68 66 32 0E 67 41 7A 6B 0F 7C"},
        {"RetN KeyCod KeyReg Edit", "78 87 88 89"},
        {"iM i\nDimB q\niM q", "60 81 60 21"},
        {"Events Tick\nTick: Ret", "76 00 04 6C"},
        {"Sqr 1\\x Int Abs Mod Rnd Log Sin Cos Tan ASin ACos ATan Decr Incr",
         "24 25 31 3A 10 33 3B 28 29 2A 2B 2C 2D 2F 30"},
        {"MODE PRINT INPUT LOAD PEEK PEEK2 POKE POKE2", "7E 82 83 84 34 3D 42 43"},
        {"x#\nx:", "72 00 04"},
        {"DimI a\na#", "72 00 88"},
        {"DimB b\nb#", "72 00 01"},
        {"DimS a(3)\nDimI q(2)\nq#", "72 00 88"},
        {"Dup\nTop:\nTop#", "69 72 00 02"},
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
        EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
    }
}

TEST(Driver, SeriesAndSendNameAnArraysFirstAndLastElement) {
    const struct {
        const char* source;
        const char* bytes;
    } cases[] = {
        {"DimB pad(4)\nDimB a(4)\nSeries (2) a", "80 02 25 28"},
        {"DimI w(3)\nSend w", "81 88 8A"},
        {"DimS s(2)\nSeries (4) s", "80 04 01 02"},
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
        EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
    }
}

TEST(Driver, AdresMovesTheCompileAddress) {
    const auto c = Compile("$Adres 1024\nEnd");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(c->programImage[1024], 0x66);
    EXPECT_EQ(c->compileAddress, 1025);
}

TEST(Driver, TimerTakesALabelsAddressAlsoWhenDeclaredLater) {
    const auto c = Compile("Timer Tick\nEnd\nTick: Ret");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(CodeBytes(*c), Hex("74 00 05 66 6C"));
}

TEST(Driver, ErrorsRaiseTheirMessage) {
    const struct {
        const char* source;
        std::string_view message;
    } cases[] = {
        {"0.0", messages::kSyntaxError},
        {"00", messages::kSyntaxError},
        {"-0", messages::kSyntaxError},
        {"nosuchname", messages::kSyntaxError},
        {"IF", messages::kSyntaxError},
        {"^ 2", messages::kSyntaxError},
        {"DupN 1", messages::kStackOverflow},
        {"DupN 33", messages::kStackOverflow},
        {"SwapN x", messages::kStackOverflow},
        {"$Adres 0", messages::kBadCompileAddress},
        {"$Adres 1025", messages::kBadCompileAddress},
        {"Rol 2 1", messages::kBadParameter},
        {"Rol 17 1", messages::kBadParameter},
        {"Rol 3 0", messages::kBadParameter},
        {"Rol 3 9", messages::kBadParameter},
        {"DimS x\nTimer x", messages::kNotAProgram},
        {"DimS x\nEvents x", messages::kNotAProgram},
        {"iM nope", messages::kSyntaxError},
        {"DimS a(3)\niM a", messages::kSimpleVariableOrConstant},
        {"Timer Nowhere", messages::kLabelNotFound},
        {"Series 2 a", messages::kSyntaxError},
        {"DimB a(4)\nSeries (5) a", messages::kBadChannel},
        {"DimB a(4)\nSeries (0) a", messages::kBadChannel},
        {"Series (1) a", messages::kArrayNameExpected},
        {"DimB a\nSend a", messages::kNotAnArray},
        {"$Adres 1024\nDup2 Dup", messages::kOutOfMemory},
        {"$Adres 1024\n300", messages::kInternalError},
        {"$Adres 1023\n1.5", messages::kInternalError},
        {"1E50", messages::kInternalError},
        {"1E999", messages::kInternalError},
        {"Nowhere#", messages::kLabelNotFound},
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_TRUE(compiled->compileFailed) << c.source;
        EXPECT_EQ(FirstMessage(*compiled), c.message) << c.source;
        EXPECT_EQ(compiled->messages.size(), 1u) << c.source;
    }
}

TEST(Driver, FullMemoryEndingWithLineEndOrCommentCompiles) {
    std::string dups;
    for (int i = 0; i < 1024; ++i) dups += "Dup\n";
    for (const std::string& tail :
         {std::string(""), std::string("\n\n"), std::string("' done\n")}) {
        const auto c = Compile(dups + tail);
        EXPECT_FALSE(c->compileFailed) << FirstMessage(*c);
        EXPECT_EQ(c->compileAddress, 1025);
    }
    const auto c = Compile(dups + "Drop\n");
    EXPECT_EQ(FirstMessage(*c), messages::kOutOfMemory);
}

TEST(Driver, ErrorSelectionCoversTheStatementUpToTheFailingWord) {
    // The statement's scan starts at the LF after "Dup\r" (position 5).
    const auto c = Compile("Dup\nDupN 40\nDrop");
    EXPECT_EQ(FirstMessage(*c), messages::kStackOverflow);
    EXPECT_EQ(c->errorStart, 5);
    EXPECT_EQ(c->errorLength, 8);  // "\nDupN 40" up to the end of "40"
}

TEST(Driver, ThousandsOfStatementsWithoutBytesStillCompile) {
    std::string source;
    for (int i = 0; i < 400; ++i)
        source += "DimS a" + std::to_string(i % 32) + "x" + std::to_string(i) + "\n";
    // 400 declarations overflow the Single area long before the statement map.
    EXPECT_EQ(FirstMessage(*Compile(source)), messages::kTooManySingles);

    std::string labels;
    for (int i = 0; i < 500; ++i) labels += "Top" + std::to_string(i) + ": Dup\n";
    const auto c = Compile(labels);
    EXPECT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(c->statementMap.size(), 1000u);
}

}  // namespace
}  // namespace zr::compiler
