// The listing's decoder: every operand layout of the opcode table, the jump
// family's address modes, and the texts of print lists and tables.
#include "machine/listing.h"

#include <gtest/gtest.h>

#include <vector>

#include "machine/opcodes.h"

namespace zr::machine {
namespace {

ProgramImage ImageWith(const std::vector<std::uint8_t>& bytes, int at = 1) {
    ProgramImage image{};
    for (std::size_t i = 0; i < bytes.size(); ++i) image[at + i] = bytes[i];
    return image;
}

// Operand data for the layouts whose length depends on the data, and the
// length it gives.
std::vector<std::uint8_t> SampleData(Operands layout) {
    switch (layout) {
        case Operands::PrintList:
            return {5, 'A', 0x04, 1, 0x01, 0x45};  // "A", variable 1, cursor
        case Operands::Table:
            return {0x82, 'h', 'i', 0, 'x', 0};  // two messages
        case Operands::OnX:
            return {0x42, 0, 7, 0, 9};  // call one of two addresses
        case Operands::Loop:
            return {0x01, 5, 0, 10};  // i up to 10
        default:
            return {};
    }
}

TEST(ListingDecode, EveryOpcodeTakesItsOperandBytes) {
    const ListingNames noNames;
    for (const OpcodeInfo& info : kOpcodeTable) {
        SCOPED_TRACE(std::string(info.name) + " " + std::to_string(info.value));
        std::vector<std::uint8_t> bytes{info.value};
        std::size_t expected = 1 + static_cast<std::size_t>(std::max(info.operandBytes, 0));
        if (info.operandBytes < 0) {
            const auto data = SampleData(info.operands);
            ASSERT_FALSE(data.empty());
            bytes.insert(bytes.end(), data.begin(), data.end());
            expected = bytes.size();
        } else {
            for (int i = 0; i < info.operandBytes; ++i)
                bytes.push_back(static_cast<std::uint8_t>(i + 1));
        }
        bytes.push_back(kEnd);
        const auto decoded =
            DecodeImage(ImageWith(bytes), 1, 1 + static_cast<int>(bytes.size()), noNames);
        ASSERT_EQ(decoded.size(), 2u);
        EXPECT_EQ(decoded[0].bytes.size(), expected);
        EXPECT_EQ(decoded[0].name, info.name.empty() ? "Nop" : info.name);
        EXPECT_EQ(decoded[1].name, "End");
        EXPECT_EQ(info.operands == Operands::None, decoded[0].operands.empty());
    }
}

TEST(ListingDecode, JumpFamilyByAddressMode) {
    struct Case {
        std::uint8_t op;
        std::vector<std::uint8_t> operands;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {0xF0, {129 + 4}, "Call", "7"},  // short: from the byte after the offset (3) + 4
        {0xF5, {0x00, 0x2A}, "GoTo", "start (42)"},
        {0xFA, {}, "CallIf", "X"},
        {0xFF, {3}, "GoToIf", "x"},
        {0x96, {}, "GoTo", "X"},  // only the low four bits matter
    };
    ListingNames names;
    names.label = [](int address) { return address == 42 ? std::string("start") : ""; };
    names.variable = [](std::uint8_t v) { return v == 3 ? std::string("x") : ""; };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes{c.op};
        bytes.insert(bytes.end(), c.operands.begin(), c.operands.end());
        const auto decoded = DecodeInstruction(ImageWith(bytes), 1, names);
        EXPECT_EQ(decoded.bytes, bytes);
        EXPECT_EQ(decoded.name, c.name);
        EXPECT_EQ(decoded.operands, c.text);
    }
}

TEST(ListingDecode, OperandsInWords) {
    ListingNames names;
    names.variable = [](std::uint8_t v) { return v == 1 ? std::string("a") : ""; };
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* text;
    };
    const Case cases[] = {
        {{0x6F, 5, 'A', 0x04, 1, 0x01, 0x45}, "\"A\", a, at 1,5"},
        {{0x6F, 2, 0xC0, 0xE0}, "\"\xD0\x90\xD0\xB0\""},  // Windows-1251 shown as UTF-8
        {{0x70, 0x82, 'h', 'i', 0, 'x', 0}, "messages [\"hi\", \"x\"]"},
        {{0x70, 0x02, 7, 9}, "bytes [7, 9]"},
        {{0x70, 0x41, 0x80, 0x05}, "integers [-5]"},
        {{0x70, 0xC1, 1, 0, 0, 0x20, 0x40}, "initialise [a = 2.5]"},
        {{0x7B, 0x09, 5, 0x7F, 0x64}, "v129 down to v112, back to -3"},
        {{0x7B, 0x12, 5, 0, 1, 0, 2}, "list [1, 2], back to -3"},
        {{0x75, 0x02, 0, 4, 0, 6}, "search [4, 6]"},
        {{0x62, 2}, "v2"},
        {{0x7F, 3}, "3 (to 6)"},
        {{0x73, 0, 0, 0x20, 0x40}, "2.5"},
        {{0x72, 0x80, 0x0C}, "-12"},
        {{0x80, 2, 1, 2}, "channel 2, a..v2"},
    };
    for (const Case& c : cases) {
        const auto decoded = DecodeInstruction(ImageWith(c.bytes), 1, names);
        EXPECT_EQ(decoded.bytes, c.bytes);
        EXPECT_EQ(decoded.operands, c.text);
    }
}

TEST(ListingDecode, UnassignedBytesAndTheEndOfMemory) {
    EXPECT_EQ(DecodeInstruction(ImageWith({0x13}), 1).name, "?");
    // A print list that claims more than memory holds stops at cell 1024.
    const auto decoded = DecodeInstruction(ImageWith({0x6F, 200, 'A'}, 1022), 1022);
    EXPECT_EQ(decoded.bytes.size(), 3u);
    EXPECT_EQ(FormatInstruction(DecodeInstruction(ImageWith({0x66}, 13), 13)), "   13  66  End");
}

}  // namespace
}  // namespace zr::machine
