#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using namespace testing;

// a: five Singles at index 3; b: Byte 2; x: Single 8.
const std::string kDeclarations = "DimS s1, s2, a(5), x\nDimB b1, b\n";

TEST(Operands, LoadsAndStoresCompileToTheirBytes) {
    const BytesCase cases[] = {
        {"a(2)", "71 02 64 03"},
        {"a(i)", "60 81 64 03"},
        {"a(x)", "60 08 64 03"},
        {"mv a(4)", "71 04 65 03"},
        {"i", "60 81"},
        {"i@", "61 81"},
        {"mv i@", "63 81"},
        {"-> b", "62 22"},
        {"x", "60 08"},
        {"-> RX", "62 00"},
        {"PORT", "60 FD"},
        {"ADC(2)", "71 02 64 FE"},
        {"I2C(128)", "71 80 64 FF"},
        {"Stack(2)", "71 02 64 FC"},
        {"Stack", "60 FC"},
        {"mv Stack(1)", "71 01 65 FC"},
        {"a@(1)", "71 01 64 03"},
    };
    for (const auto& c : cases) ExpectBytes({kDeclarations + c.source, c.bytes});
}

TEST(Operands, ErrorsRaiseTheirMessage) {
    const MessageCase cases[] = {
        {"a(0)", messages::kBadArrayIndex},
        {"a(6)", messages::kBadArrayIndex},
        {"Stack(17)", messages::kBadArrayIndex},
        {"Bytes Lst [1]\nLst(65)", messages::kBadArrayIndex},
        {"a", messages::kArrayExpected},
        {"a(b)", messages::kSimpleVariableOrConstant},
        {"a(nope)", messages::kSyntaxError},
        {"a(2", messages::kSyntaxError},
        {"nope", messages::kSyntaxError},
        {"-> nope", messages::kUnknownDataType},
        {"Here:\nHere", messages::kSyntaxError},
        {"Here:\na(Here)", messages::kSyntaxError},
    };
    for (const auto& c : cases) ExpectMessage({kDeclarations + c.source, c.message});
}

TEST(Operands, DataListReadCallsTheListPlacedAfterTheCode) {
    const auto c = Compile("Bytes Lst [1, 2, 3]\nLst(3)\nLst(64)");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    // Two reads of 5 bytes each; the list is placed at 11.
    EXPECT_EQ(CodeBytes(*c), Hex("71 03 F1 00 0B 71 40 F1 00 0B 70 03 01 02 03"));
}

}  // namespace
}  // namespace zr::compiler
