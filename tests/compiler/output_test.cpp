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

struct BytesCase {
    std::string source;
    const char* bytes;
};

struct MessageCase {
    std::string source;
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

std::string Quoted(int length) {
    return "\"" + std::string(length, 'A') + "\"";
}

// "[0, 0, ...]" with `count` elements
std::string Zeros(int count) {
    std::string list = "[";
    for (int i = 0; i < count; ++i) list += i ? ", 0" : "0";
    return list + "]";
}

// ---- ? ----

TEST(InputPrompt, CompilesToCountedText) {
    const BytesCase cases[] = {
        {"? \"N=\"", "6E 02 4E 3D"},
        {"? \"Да\"", "6E 02 C4 E0"},
        {"? \"\"", "6E 00"},
        {"?\nDup", "6E 00 69"},
        {"?", "6E 00"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(InputPrompt, LengthByteHolds255) {
    const auto longest = Compile("? " + Quoted(255));
    ASSERT_FALSE(longest->compileFailed) << FirstMessage(*longest);
    EXPECT_EQ(BytesAt(*longest, 1, 3), Hex("6E FF 41"));
    EXPECT_EQ(longest->compileAddress, 258);

    EXPECT_EQ(FirstMessage(*Compile("? " + Quoted(256))), messages::kInternalError);
}

// ---- ! ----

TEST(PrintList, ItemsCompileToTheirBytes) {
    const BytesCase cases[] = {
        {"! \"T=\" k [2,5]", "6F 06 54 3D 04 83 01 05"},
        {"! [1,1,clr] \"Hi\"", "6F 04 01 C1 48 69"},
        {"! [2,16]", "6F 02 01 10"},
        {"! [1, 16, c]", "6F 02 01 D0"},
        {"! [2,1,CLR]", "6F 02 01 81"},
        {"! [2,1,C]", "6F 02 01 81"},
        {"DimS x\n! x", "6F 02 04 01"},
        {"! RX i", "6F 04 04 00 04 81"},
        {"!", "6F 00"},
        {"! \"Да\"", "6F 02 C4 E0"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(PrintList, EndsAtLineEndSemicolonOrEmptyText) {
    const BytesCase cases[] = {
        {"! \"A\"\nDup", "6F 01 41 69"},
        {"! \"A\"; Dup", "6F 01 41 69"},
        {"! \"A\" \";\" Dup", "6F 01 41 69"},
        {"! \"A\" \"\" Dup", "6F 01 41 69"},
        // an item that ends on the last character of the source still belongs to the list
        {"! \"T=\"k", "6F 04 54 3D 04 83"},
        {"! [1,1]", "6F 02 01 41"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(PrintList, CountByteHolds255) {
    const auto longest = Compile("! " + Quoted(253) + " [1,1]");
    ASSERT_FALSE(longest->compileFailed) << FirstMessage(*longest);
    EXPECT_EQ(BytesAt(*longest, 1, 2), Hex("6F FF"));
    EXPECT_EQ(longest->compileAddress, 258);

    EXPECT_EQ(FirstMessage(*Compile("! " + Quoted(254) + " [1,1]")), messages::kInternalError);
}

TEST(PrintList, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"! q", messages::kVariableOrNumberRequired}, {"! 5", messages::kVariableOrNumberRequired},
        {"Top:\n! Top", messages::kSyntaxError},      {"DimB b\n! b", messages::kSyntaxError},
        {"DimS a(2)\n! a", messages::kSyntaxError},   {"! PORT", messages::kSyntaxError},
        {"! [3,1]", messages::kSyntaxError},          {"! [0,1]", messages::kSyntaxError},
        {"! [1.5,1]", messages::kSyntaxError},        {"! [1,17]", messages::kSyntaxError},
        {"! [1,0]", messages::kSyntaxError},          {"! [1 1]", messages::kSyntaxError},
        {"! [1,1,x]", messages::kSyntaxError},        {"! [1,1,clr", messages::kSyntaxError},
        {"! [1,1;", messages::kSyntaxError},          {"! [1,1 2]", messages::kSyntaxError},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

// ---- Segm ----

TEST(Segm, CompilesToTwoAddresses) {
    const BytesCase cases[] = {
        {"L1:\nDup\nL2:\nSegm L1, L2", "69 77 00 01 00 02"},
        {"Segm A, B\nA:\nDup\nB:", "77 00 06 00 07 69"},
        {"Segm A,A\nA:", "77 00 06 00 06"},
        {"DimS v, w\nSegm v, w", "77 00 01 00 02"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(Segm, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"A:\nSegm A A", messages::kSyntaxError}, {"A:\nSegm A", messages::kSyntaxError},
        {"A:\nSegm A,", messages::kSyntaxError},  {"Segm", messages::kSyntaxError},
        {"Segm\nA:", messages::kSyntaxError},     {"A:\nSegm A, Nowhere", messages::kLabelNotFound},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

// ---- Data lists ----

TEST(DataList, ListsArePlacedBehindTheCode) {
    const BytesCase cases[] = {
        {"End\nBytes B [1, 2, 255]\n", "66 70 03 01 02 FF"},
        {"End\nIntegers W [-1, 300]\n", "66 70 42 80 01 01 2C"},
        {"End\nMessanges Msg [\"AB\", \"C\"]\n", "66 70 82 41 42 00 43 00"},
        {"End\nMessanges Msg [\"Да\"]\n", "66 70 81 C4 E0 00"},
        {"End\nBytes B []\n", "66 70 00"},
        {"End\nBytes B [1 2]\n", "66 70 02 01 02"},
        // a quoted text is always a message, also "", "," and "]"
        {"Messanges Msg [\"]\", \",\", \"\"]\n", "70 83 5D 00 2C 00 00"},
        // a read calls the list, whose address is known once it is placed
        {"Bytes B [1, 2, 255]\nB(2)\nEnd", "71 02 F1 00 07 66 70 03 01 02 FF"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(DataList, LastDeclaredIsPlacedFirst) {
    const auto compiled = Compile("End\nBytes A [1]\nBytes B [2]\n");
    ASSERT_FALSE(compiled->compileFailed) << FirstMessage(*compiled);
    EXPECT_EQ(CodeBytes(*compiled), Hex("66 70 01 02 70 01 01"));
    const NameTable& names = compiled->names;
    EXPECT_EQ(names[names.FindName("B")].address, 2);
    EXPECT_EQ(names[names.FindName("A")].address, 5);
    EXPECT_EQ(names[names.FindName("A")].size, 1);
}

TEST(DataList, ElementLimits) {
    ExpectBytes({"Bytes B [0, 255]\n", "70 02 00 FF"});
    ExpectMessage({"Bytes B [256]\n", messages::kOverflow});
    ExpectMessage({"Bytes B [-1]\n", messages::kOverflow});
    ExpectBytes({"Integers W [32499, -32766]\n", "70 42 7E F3 FF FE"});
    ExpectMessage({"Integers W [32500]\n", messages::kOverflow});
    ExpectMessage({"Integers W [-32767]\n", messages::kOverflow});
    ExpectBytes({"Messanges Msg [\"ABCDEFGHIJKLMNOP\"]\n",
                 "70 81 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 00"});
    ExpectMessage({"Messanges Msg [\"ABCDEFGHIJKLMNOPQ\"]\n", messages::kOverflow});
}

TEST(DataList, SixtyThreeElementsAreTheMost) {
    const auto most = Compile("Bytes B " + Zeros(63) + "\n");
    ASSERT_FALSE(most->compileFailed) << FirstMessage(*most);
    EXPECT_EQ(BytesAt(*most, 1, 2), Hex("70 3F"));
    EXPECT_EQ(most->compileAddress, 66);
    EXPECT_EQ(most->names[most->names.FindName("B")].size, 63);

    ExpectMessage({"Bytes B " + Zeros(64) + "\n", messages::kTooManyElements});
}

// Data stops short of the last program cell.
TEST(DataList, MustFitBelowAddress1024) {
    const auto fits = Compile("$Adres 1020\nEnd\nBytes B [1]\n");
    ASSERT_FALSE(fits->compileFailed) << FirstMessage(*fits);
    EXPECT_EQ(BytesAt(*fits, 1020, 4), Hex("66 70 01 01"));

    const MessageCase tooBig[] = {
        {"$Adres 1020\nEnd\nBytes B [1, 2]\n", messages::kOutOfMemory},
        {"$Adres 1021\nEnd\nBytes B []\n", messages::kOutOfMemory},
        {"$Adres 1020\nEnd\nIntegers W [1]\n", messages::kOutOfMemory},
        {"$Adres 1019\nEnd\nMessanges Msg [\"AB\"]\n", messages::kOutOfMemory},
        {"$Adres 1024\nEnd\nBytes B []\n", messages::kOutOfMemory},
    };
    for (const auto& c : tooBig) ExpectMessage(c);
    const auto emptyFits = Compile("$Adres 1020\nEnd\nBytes B []\n");
    ASSERT_FALSE(emptyFits->compileFailed) << FirstMessage(*emptyFits);
    EXPECT_EQ(BytesAt(*emptyFits, 1020, 3), Hex("66 70 00"));
}

TEST(DataList, ErrorSelectsTheListValues) {
    const auto compiled = Compile("End\nBytes B [1, 2\n");
    EXPECT_EQ(FirstMessage(*compiled), messages::kSyntaxError);
    EXPECT_EQ(compiled->errorStart, 15);
    EXPECT_EQ(compiled->errorLength, 4);

    const auto overflow = Compile("Bytes B [1, 300]\n");
    EXPECT_EQ(FirstMessage(*overflow), messages::kOverflow);
    EXPECT_EQ(overflow->errorStart, 10);
    EXPECT_EQ(overflow->errorLength, 7);
}

}  // namespace
}  // namespace zr::compiler
