#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

std::string Quoted(int length) {
    return "\"" + std::string(length, 'A') + "\"";
}

// "[0, 0, ...]" with `count` elements
std::string Zeros(int count) {
    std::string list = "[";
    for (int i = 0; i < count; ++i) list += i ? ", 0" : "0";
    return list + "]";
}

TEST(Output, StatementsCompileToTheirBytes) {
    const BytesCase cases[] = {
        // ? and its counted prompt
        {"? \"N=\"", "6E 02 4E 3D"},
        {"? \"Да\"", "6E 02 C4 E0"},
        {"?\nDup", "6E 00 69"},
        // ! items: text, variables (04 v), cursor (01 p: bit 6 line 1, bit 7 clear)
        {"! \"T=\" k [2,5]", "6F 06 54 3D 04 83 01 05"},
        {"! [1,1,clr] \"Hi\"", "6F 04 01 C1 48 69"},
        {"! [2,16]", "6F 02 01 10"},
        {"! [1, 16, c]", "6F 02 01 D0"},
        {"DimS x\n! x RX", "6F 04 04 01 04 00"},
        {"!", "6F 00"},
        // a list ends at a line end, ";" or an empty text, and may end the source
        {"! \"A\"; Dup", "6F 01 41 69"},
        {"! \"A\" \";\" Dup", "6F 01 41 69"},
        {"! \"A\" \"\" Dup", "6F 01 41 69"},
        {"! \"T=\"k", "6F 04 54 3D 04 83"},
        // Segm: the two addresses, declared or not
        {"L1:\nDup\nL2:\nSegm L1, L2", "69 77 00 01 00 02"},
        {"Segm A, B\nA:\nDup\nB:", "77 00 06 00 07 69"},
    };
    for (const auto& c : cases) ExpectBytes(c);
}

TEST(Output, CountBytesHold255) {
    EXPECT_EQ(Compile("? " + Quoted(255))->compileAddress, 258);
    const auto longest = Compile("! " + Quoted(253) + " [1,1]");
    EXPECT_EQ(BytesAt(*longest, 1, 2), Hex("6F FF"));
    EXPECT_EQ(longest->compileAddress, 258);
}

TEST(Output, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"? " + Quoted(256), messages::kInternalError},
        {"! " + Quoted(254) + " [1,1]", messages::kInternalError},
        {"! q", messages::kVariableOrNumberRequired},
        {"Top:\n! Top", messages::kSyntaxError},
        {"DimB b\n! b", messages::kSyntaxError},
        {"DimS a(2)\n! a", messages::kSyntaxError},
        {"! [3,1]", messages::kSyntaxError},
        {"! [1,17]", messages::kSyntaxError},
        {"! [1,0]", messages::kSyntaxError},
        {"! [1 1]", messages::kSyntaxError},
        {"! [1,1,x]", messages::kSyntaxError},
        {"! [1,1,clr", messages::kSyntaxError},
        {"A:\nSegm A A", messages::kSyntaxError},
        {"Segm", messages::kSyntaxError},
        {"A:\nSegm A, Nowhere", messages::kLabelNotFound},
    };
    for (const auto& c : cases) ExpectMessage(c);
}

TEST(DataList, ListsArePlacedBehindTheCode) {
    const BytesCase cases[] = {
        {"End\nBytes B [1, 2, 255]\n", "66 70 03 01 02 FF"},
        {"End\nIntegers W [-1, 300]\n", "66 70 42 80 01 01 2C"},
        {"End\nMessanges Msg [\"AB\", \"C\"]\n", "66 70 82 41 42 00 43 00"},
        {"End\nBytes B []\n", "66 70 00"},
        // a quoted text is always a message, also "", "," and "]"
        {"Messanges Msg [\"]\", \",\", \"\"]\n", "70 83 5D 00 2C 00 00"},
        // a read calls the list, whose address is known once it is placed
        {"Bytes B [1, 2, 255]\nB(2)\nEnd", "71 02 F1 00 07 66 70 03 01 02 FF"},
        // the last declared is placed first
        {"End\nBytes A [1]\nBytes B [2]\n", "66 70 01 02 70 01 01"},
        // element limits
        {"Bytes B [0, 255]\n", "70 02 00 FF"},
        {"Integers W [32499, -32766]\n", "70 42 7E F3 FF FE"},
        {"Messanges Msg [\"ABCDEFGHIJKLMNOP\"]\n",
         "70 81 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 00"},
    };
    for (const auto& c : cases) ExpectBytes(c);

    // Data stops short of the last program cell.
    EXPECT_EQ(BytesAt(*Compile("$Adres 1021\nBytes B [1]\n"), 1021, 3), Hex("70 01 01"));
    const auto most = Compile("Bytes B " + Zeros(63) + "\n");
    EXPECT_EQ(BytesAt(*most, 1, 2), Hex("70 3F"));
    EXPECT_EQ(most->names[most->names.FindName("B")].size, 63);
}

TEST(DataList, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"Bytes B [256]\n", messages::kOverflow},
        {"Bytes B [-1]\n", messages::kOverflow},
        {"Integers W [32500]\n", messages::kOverflow},
        {"Integers W [-32767]\n", messages::kOverflow},
        {"Messanges Msg [\"ABCDEFGHIJKLMNOPQ\"]\n", messages::kOverflow},
        {"Bytes B " + Zeros(64) + "\n", messages::kTooManyElements},
        {"$Adres 1020\nEnd\nBytes B [1, 2]\n", messages::kOutOfMemory},
        {"$Adres 1024\nEnd\nBytes B []\n", messages::kOutOfMemory},
    };
    for (const auto& c : cases) ExpectMessage(c);

    // An error selects the list's values.
    const auto cut = Compile("End\nBytes B [1, 2\n");
    EXPECT_EQ(FirstMessage(*cut), messages::kSyntaxError);
    EXPECT_EQ(cut->errorStart, 15);
    EXPECT_EQ(cut->errorLength, 4);
}

}  // namespace
}  // namespace zr::compiler
