#include <gtest/gtest.h>

#include <string>

#include "compile_helpers.h"
#include "compiler/messages.h"

namespace zr::compiler {
namespace {

using testing::BytesAt;
using testing::CodeBytes;
using testing::Compile;
using testing::FirstMessage;
using testing::Hex;

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// "[1, 2, ..., n]"
std::string NumberList(int first, int count) {
    std::string list = "[";
    for (int i = 0; i < count; ++i) list += (i ? ", " : "") + std::to_string(first + i);
    return list + "]";
}

struct BytesCase {
    const char* source;
    const char* bytes;
};

struct MessageCase {
    const char* source;
    std::string_view message;
};

void ExpectBytes(const BytesCase& c) {
    const auto compiled = Compile(c.source);
    EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
    EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
}

void ExpectMessage(const MessageCase& c) {
    const auto compiled = Compile(c.source);
    EXPECT_TRUE(compiled->compileFailed) << c.source;
    EXPECT_EQ(FirstMessage(*compiled), c.message) << c.source;
}

// ---- DO / LOOP ----

TEST(LoopDo, FormsCompileToTheirBytes) {
    const BytesCase cases[] = {
        // counted: start value into the variable, then 7B variable back+1 limit
        {"Do + i = 1 >> 10\nLoop i", "72 00 01 62 81 7B 01 01 00 0A"},
        {"Do + I = 1 >> 10\nDup\nLoop i", "72 00 01 62 81 69 7B 01 02 00 0A"},
        {"Do + o = -5 >> 5\nLoop O", "72 80 05 62 87 7B 07 01 00 05"},
        {"Do + k = m >> 5\nLoop k", "60 85 62 83 7B 03 01 00 05"},
        // counting down sets bit 3; a variable limit is 32500 + its operand byte
        {"DimI a\nDo - j = a >> n\nLoop j", "60 88 62 82 7B 0A 01 7F 7A"},
        {"DimS x\nDo + i = 0 >> x\nLoop i", "72 00 00 62 81 7B 01 01 7E F5"},
        {"DimS y(3)\nDo + i = 0 >> y\nLoop i", "72 00 00 62 81 7B 01 01 7E F5"},
        // compare forms emit nothing at DO; the word after LOOP is ignored
        {"Do = 5\nDup\nLoop", "69 7B 08 02 00 05"},
        {"Do <> 5\nLoop anything", "7B 00 01 00 05"},
        {"Do >< -3\nLoop", "7B 00 01 80 03"},
        {"Do <> i\nLoop", "7B 00 01 7F 75"},
        // criteria list: first value pushed at DO, the rest written at LOOP
        {"DimS a\nDo [3, a, 7]\nLoop", "72 00 03 7B 12 01 7E F5 00 07"},
        {"Do [5]\nLoop", "72 00 05 7B 10 01"},
        {"Do [1 2 3]\nLoop", "72 00 01 7B 12 01 00 02 00 03"},
        {"Top:\nDo [0, Top]\nLoop", "72 00 00 7B 11 01 00 01"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(LoopDo, NestedLoopsCloseInnermostFirst) {
    ExpectBytes({"Do + i = 1 >> 2\nDo = 0\nDup\nLoop\nLoop i",
                 "72 00 01 62 81 69 7B 08 02 00 00 7B 01 07 00 02"});
}

TEST(LoopDo, EightNestedLoopsCompileAndANinthIsRefused) {
    const std::string eight = Repeat("Do = 0\n", 8) + Repeat("Loop\n", 8);
    const auto compiled = Compile(eight);
    EXPECT_FALSE(compiled->compileFailed) << FirstMessage(*compiled);

    const std::string nine = Repeat("Do = 0\n", 9);
    ExpectMessage({nine.c_str(), messages::kTooManyLoops});
}

TEST(LoopDo, ValueLimits) {
    ExpectBytes({"Do = 32500\nLoop", "7B 08 01 7E F4"});
    ExpectBytes({"Do = -32766\nLoop", "7B 08 01 FF FE"});
    ExpectMessage({"Do = 32501\nLoop", messages::kNumericOverflow});
    ExpectMessage({"Do = -32767\nLoop", messages::kNumericOverflow});
    ExpectBytes({"Do + i = 32766 >> 0\nLoop i", "72 7F FE 62 81 7B 01 01 00 00"});
    ExpectBytes({"Do + i = -32766 >> 0\nLoop i", "72 FF FE 62 81 7B 01 01 00 00"});
    ExpectMessage({"Do + i = 32767 >> 0", messages::kOptionOverflow});
    ExpectMessage({"Do + i = -32767 >> 0", messages::kOptionOverflow});
    ExpectBytes({"Do [32766]\nLoop", "72 7F FE 7B 10 01"});
    ExpectMessage({"Do [32767]", messages::kOverflow});
    ExpectMessage({"Do [-32767]", messages::kOverflow});
    ExpectMessage({"Do [0, 32767]", messages::kOverflow});
}

TEST(LoopDo, BodyOf254BytesIsTheLongest) {
    const auto longest = Compile("Do = 0\n" + Repeat("Dup\n", 254) + "Loop");
    ASSERT_FALSE(longest->compileFailed) << FirstMessage(*longest);
    EXPECT_EQ(BytesAt(*longest, 255, 5), Hex("7B 08 FF 00 00"));

    const auto tooLong = Compile("Do = 0\n" + Repeat("Dup\n", 255) + "Loop");
    EXPECT_EQ(FirstMessage(*tooLong), messages::kInternalError);
}

TEST(LoopDo, LoopWithoutDoIsAnInternalError) {
    ExpectMessage({"Dup\nLoop", messages::kInternalError});
    ExpectMessage({"Do = 1\nLoop\nLoop", messages::kInternalError});
}

TEST(LoopDo, CriteriaListOf15IsTheLongest) {
    const auto longest = Compile("Do [0, " + NumberList(1, 15).substr(1) + "\nLoop");
    ASSERT_FALSE(longest->compileFailed) << FirstMessage(*longest);
    EXPECT_EQ(BytesAt(*longest, 4, 5), Hex("7B 1F 01 00 01"));
    EXPECT_EQ(longest->compileAddress, 4 + 3 + 30);

    const auto tooLong = Compile("Do [0, " + NumberList(1, 16).substr(1) + "\nLoop");
    EXPECT_EQ(FirstMessage(*tooLong), messages::kOverflow);
}

// Each criteria DO keeps its own list: an OnX or another criteria DO in its
// body does not replace it.
TEST(LoopDo, CriteriaListsSurviveNestedLists) {
    ExpectBytes({"Do [1, 2, 3]\nOnX x [9]\nLoop", "72 00 01 75 01 00 09 7B 12 05 00 02 00 03"});
    ExpectBytes({"Do [1, 2, 3]\nDo [4, 5]\nLoop\nLoop",
                 "72 00 01 72 00 04 7B 11 01 00 05 7B 12 09 00 02 00 03"});
}

// A name declared after the DO is patched in the word LOOP writes for it.
TEST(LoopDo, ForwardReferencesInCriteriaListsArePatchedAtLoop) {
    ExpectBytes({"Do [0, Top, 7]\nDup\nLoop\nTop:\nEnd", "72 00 00 69 7B 12 02 00 0C 00 07 66"});
    // A variable declared further down stands for its value: 32500 + its operand byte.
    ExpectBytes({"Do [0, late]\nLoop\nDimI late", "72 00 00 7B 11 01 7F 7C"});

    const auto missing = Compile("Dup\nDo [0, Nowhere]\nDup\nLoop");
    EXPECT_EQ(FirstMessage(*missing), messages::kLabelNotFound);
    EXPECT_EQ(missing->errorStart, 5);  // where the scan of the DO that names it began
}

TEST(LoopDo, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"Do * 1", messages::kSyntaxErrorSign},
        {"Do +i = 1 >> 2", messages::kSyntaxErrorSign},
        {"Do", messages::kSyntaxErrorSign},
        {"DimS a\nDo + a = 1 >> 2", messages::kLoopVariableExpected},
        {"Do + RX = 1 >> 2", messages::kLoopVariableExpected},
        {"Do + Stack = 1 >> 2", messages::kLoopVariableExpected},
        {"Do + i 1 >> 2", messages::kSyntaxError},
        {"Do + i = q >> 2", messages::kVariableRequired},
        {"Top:\nDo + i = Top >> 2", messages::kSyntaxError},
        {"Do + i = 1 2", messages::kSyntaxError},
        {"Do + i = 1 >> q", messages::kVariableOrNumberRequired},
        {"Do + i = 1 >>", messages::kVariableOrNumberRequired},
        {"Top:\nDo + i = 1 >> Top", messages::kBadParameter},
        {"DimB b\nDo = b", messages::kBadParameter},
        {"Do <> q", messages::kVariableOrNumberRequired},
        {"Do + i = 1 >> 2\nLoop k", messages::kDoLoopMismatch},
        {"Do + i = 1 >> 2\nLoop", messages::kDoLoopMismatch},
        {"DimS a(3)\nDo [1, a]", messages::kNumericParameterExpected},
        {"DimI a(3)\nDo [1, a]", messages::kNumericParameterExpected},
        {"DimS a\nDo [a, 2]", messages::kSyntaxError},
        {"Do []", messages::kSyntaxError},
        {"Do [1, 2\nLoop", messages::kSyntaxError},
        {"Do [1, 2", messages::kSyntaxError},
        {"Do [1,", messages::kSyntaxError},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

TEST(LoopDo, ErrorSelection) {
    // A limit error selects from the end of the start value.
    const auto limit = Compile("Do + i = 1 >> q");
    EXPECT_EQ(limit->errorStart, 12);
    EXPECT_EQ(limit->errorLength, 4);

    const auto mismatch = Compile("Do + i = 1 >> 2\nLoop k");
    EXPECT_EQ(mismatch->errorStart, 17);
    EXPECT_EQ(mismatch->errorLength, 7);

    const auto nine = Compile(Repeat("Do = 0\n", 9));
    EXPECT_EQ(nine->errorStart, 8 * 8);  // the line end before it
    EXPECT_EQ(nine->errorLength, 4);
}

// ---- OnX ----

TEST(OnX, ModesCompileToTheirHeaders) {
    const BytesCase cases[] = {
        {"OnX x [5, 7]", "75 02 00 05 00 07"},
        {"OnX call [1, 2, 3]", "75 43 00 01 00 02 00 03"},
        {"OnX ret [-1]", "75 81 80 01"},
        {"ONX GOTO [1]", "75 C1 00 01"},
        {"OnX goto []", "75 C0"},
        {"Top:\nOnX goto [Top]", "75 C1 00 01"},
        {"OnX x [-32760, 32500]", "75 02 FF F8 7E F4"},
        // the closing bracket may be the last character of the source
        {"OnX x [1]", "75 01 00 01"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(OnX, LabelsDeclaredFurtherDownArePatched) {
    ExpectBytes(
        {"OnX goto [L1, 9, L2]\nDup\nL1:\nDup\nL2:\nEnd", "75 C3 00 0A 00 09 00 0B 69 69 66"});
    const auto missing = Compile("Dup\nOnX goto [Nowhere]");
    EXPECT_EQ(FirstMessage(*missing), messages::kLabelNotFound);
    EXPECT_EQ(missing->errorStart, 5);
}

TEST(OnX, ListOf31IsTheLongest) {
    const auto longest = Compile("OnX x " + NumberList(1, 31));
    ASSERT_FALSE(longest->compileFailed) << FirstMessage(*longest);
    EXPECT_EQ(BytesAt(*longest, 1, 4), Hex("75 1F 00 01"));
    EXPECT_EQ(longest->compileAddress, 3 + 62);

    const auto tooLong = Compile("OnX goto " + NumberList(1, 32));
    EXPECT_EQ(FirstMessage(*tooLong), messages::kOverflow);
}

TEST(OnX, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"OnX jump [1]", messages::kSyntaxError},
        {"OnX goto 1", messages::kSyntaxError},
        {"OnX goto [1, 2\nDup]", messages::kSyntaxError},
        {"OnX goto [1, 2", messages::kSyntaxError},
        {"OnX goto [", messages::kSyntaxError},
        {"OnX x [i]", messages::kBadParameter},
        {"DimS v\nOnX x [v]", messages::kBadParameter},
        {"OnX x [32501]", messages::kBadParameter},
        {"OnX x [-32761]", messages::kBadParameter},
        {"DimS a(2)\nOnX x [a]", messages::kNumericParameterExpected},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

}  // namespace
}  // namespace zr::compiler
