#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

// "[first, first + 1, ...]" with `count` numbers
std::string NumberList(int first, int count) {
    std::string list = "[";
    for (int i = 0; i < count; ++i) list += (i ? ", " : "") + std::to_string(first + i);
    return list + "]";
}

TEST(LoopDo, FormsCompileToTheirBytes) {
    const BytesCase cases[] = {
        // counted: start value into the variable, then 7B variable back+1 limit
        {"Do + I = 1 >> 10\nDup\nLoop i", "72 00 01 62 81 69 7B 01 02 00 0A"},
        {"Do + o = -5 >> 5\nLoop O", "72 80 05 62 87 7B 07 01 00 05"},
        {"Do + k = m >> 5\nLoop k", "60 85 62 83 7B 03 01 00 05"},
        // counting down sets bit 3; a variable limit is 32500 + its operand byte
        {"DimI a\nDo - j = a >> n\nLoop j", "60 88 62 82 7B 0A 01 7F 7A"},
        {"DimS y(3)\nDo + i = 0 >> y\nLoop i", "72 00 00 62 81 7B 01 01 7E F5"},
        // compare forms emit nothing at DO; the word after LOOP is ignored
        {"Do = 5\nDup\nLoop", "69 7B 08 02 00 05"},
        {"Do >< -3\nLoop anything", "7B 00 01 80 03"},
        // criteria list: first value pushed at DO, the rest written at LOOP
        {"DimS a\nDo [3, a, 7]\nLoop", "72 00 03 7B 12 01 7E F5 00 07"},
        {"Top:\nDo [0, Top]\nLoop", "72 00 00 7B 11 01 00 01"},
        {"Do + i = 1 >> 2\nDo = 0\nDup\nLoop\nLoop i",
         "72 00 01 62 81 69 7B 08 02 00 00 7B 01 07 00 02"},
        // each criteria DO keeps its own list through a nested OnX or criteria DO
        {"Do [1, 2, 3]\nOnX x [9]\nLoop", "72 00 01 75 01 00 09 7B 12 05 00 02 00 03"},
        {"Do [1, 2, 3]\nDo [4, 5]\nLoop\nLoop",
         "72 00 01 72 00 04 7B 11 01 00 05 7B 12 09 00 02 00 03"},
        // names declared later are patched in the words LOOP writes
        {"Do [0, Top, 7]\nDup\nLoop\nTop:\nEnd", "72 00 00 69 7B 12 02 00 0C 00 07 66"},
        {"Do [0, late]\nLoop\nDimI late", "72 00 00 7B 11 01 7F 7C"},
        // limits at the edges of their ranges
        {"Do = 32500\nLoop", "7B 08 01 7E F4"},
        {"Do = -32766\nLoop", "7B 08 01 FF FE"},
        {"Do + i = -32766 >> 32500\nLoop i", "72 FF FE 62 81 7B 01 01 7E F4"},
        {"Do + i = 32766 >> -32766\nLoop i", "72 7F FE 62 81 7B 01 01 FF FE"},
        {"Do [32766]\nLoop", "72 7F FE 7B 10 01"},
        {Repeat("Do = 0\n", 8) + Repeat("Loop\n", 8),
         "7B 08 01 00 00 7B 08 06 00 00 7B 08 0B 00 00 7B 08 10 00 00 7B 08 15 00 00 "
         "7B 08 1A 00 00 7B 08 1F 00 00 7B 08 24 00 00"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(LoopDo, LongestBodyAndList) {
    const auto body = Compile("Do = 0\n" + Repeat("Dup\n", 254) + "Loop");
    EXPECT_EQ(BytesAt(*body, 255, 5), Hex("7B 08 FF 00 00"));
    const auto list = Compile("Do [0, " + NumberList(1, 15).substr(1) + "\nLoop");
    EXPECT_EQ(BytesAt(*list, 4, 5), Hex("7B 1F 01 00 01"));
    EXPECT_EQ(list->compileAddress, 4 + 3 + 30);
}

TEST(LoopDo, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {Repeat("Do = 0\n", 9), messages::kTooManyLoops},
        {"Do = 0\n" + Repeat("Dup\n", 255) + "Loop", messages::kInternalError},
        {"Do = 1\nLoop\nLoop", messages::kInternalError},
        {"Do [0, " + NumberList(1, 16).substr(1), messages::kOverflow},
        {"Do = 32501\nLoop", messages::kNumericOverflow},
        {"Do = -32767\nLoop", messages::kNumericOverflow},
        {"Do + i = 32767 >> 0", messages::kOptionOverflow},
        {"Do [-32767]", messages::kOverflow},
        {"Do [0, 32767]", messages::kOverflow},
        {"Do * 1", messages::kSyntaxErrorSign},
        {"Do +i = 1 >> 2", messages::kSyntaxErrorSign},
        {"DimS a\nDo + a = 1 >> 2", messages::kLoopVariableExpected},
        {"Do + Stack = 1 >> 2", messages::kLoopVariableExpected},
        {"Do + i 1 >> 2", messages::kSyntaxError},
        {"Do + i = q >> 2", messages::kVariableRequired},
        {"Top:\nDo + i = Top >> 2", messages::kSyntaxError},
        {"Do + i = 1 2", messages::kSyntaxError},
        {"Do + i = 1 >> q", messages::kVariableOrNumberRequired},
        {"Top:\nDo + i = 1 >> Top", messages::kBadParameter},
        {"DimB b\nDo = b", messages::kBadParameter},
        {"Do + i = 1 >> 2\nLoop k", messages::kDoLoopMismatch},
        {"DimI a(3)\nDo [1, a]", messages::kNumericParameterExpected},
        {"DimS a\nDo [a, 2]", messages::kSyntaxError},
        {"Do [1, 2\nLoop", messages::kSyntaxError},
        {"Do [1,", messages::kSyntaxError},
        {"Dup\nDo [0, Nowhere]\nDup\nLoop", messages::kLabelNotFound},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

TEST(LoopDo, ErrorSelection) {
    const struct {
        std::string source;
        std::int32_t start, length;
    } cases[] = {
        {"Do + i = 1 >> q", 12, 4},                  // from the end of the start value
        {"Do + i = 1 >> 2\nLoop k", 17, 7},          // the LOOP statement
        {Repeat("Do = 0\n", 9), 8 * 8, 4},           // the ninth DO, from the line end before it
        {"Dup\nDo [0, Nowhere]\nDup\nLoop", 5, 16},  // a late error selects the DO that named it
    };
    for (const auto& c : cases) {
        const auto compiled = Compile(c.source);
        EXPECT_EQ(compiled->errorStart, c.start) << c.source;
        EXPECT_EQ(compiled->errorLength, c.length) << c.source;
    }
}

TEST(OnX, ModesCompileToTheirHeaders) {
    const BytesCase cases[] = {
        {"OnX x [5, 7]", "75 02 00 05 00 07"},
        {"OnX call [1, 2, 3]", "75 43 00 01 00 02 00 03"},
        {"OnX ret [-1]", "75 81 80 01"},
        {"ONX GOTO []", "75 C0"},
        {"OnX x [-32760, 32500]", "75 02 FF F8 7E F4"},
        {"OnX goto [L1, 9, L2]\nDup\nL1:\nDup\nL2:\nEnd", "75 C3 00 0A 00 09 00 0B 69 69 66"},
    };
    for (const auto& c : cases) ExpectBytes(c);
    const auto longest = Compile("OnX x " + NumberList(1, 31));
    EXPECT_EQ(BytesAt(*longest, 1, 4), Hex("75 1F 00 01"));
    EXPECT_EQ(longest->compileAddress, 3 + 62);
}

TEST(OnX, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"OnX goto " + NumberList(1, 32), messages::kOverflow},
        {"OnX jump [1]", messages::kSyntaxError},
        {"OnX goto 1", messages::kSyntaxError},
        {"OnX goto [1, 2\nDup]", messages::kSyntaxError},
        {"OnX goto [", messages::kSyntaxError},
        {"DimS v\nOnX x [v]", messages::kBadParameter},
        {"OnX x [32501]", messages::kBadParameter},
        {"OnX x [-32761]", messages::kBadParameter},
        {"DimS a(2)\nOnX x [a]", messages::kNumericParameterExpected},
        {"Dup\nOnX goto [Nowhere]", messages::kLabelNotFound},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

}  // namespace
}  // namespace zr::compiler
