#include "machine/encodings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "machine/image.h"

namespace zr::machine {
namespace {

std::vector<int> Bytes(const ProgramImage& image, int from, int count) {
    return {image.begin() + from, image.begin() + from + count};
}

TEST(IntegerEncoding, SignMagnitudeMostSignificantFirst) {
    const struct {
        int value;
        std::vector<int> bytes;
    } cases[] = {
        {300, {0x01, 0x2C}},    {-300, {0x81, 0x2C}},  {-1, {0x80, 0x01}},
        {1, {0x00, 0x01}},      {0, {0x00, 0x00}},     {32767, {0x7F, 0xFF}},
        {-32767, {0xFF, 0xFF}}, {32766, {0x7F, 0xFE}}, {256, {0x01, 0x00}},
    };
    for (const auto& c : cases) {
        ProgramImage image{};
        StoreInteger(image, 10, c.value);
        EXPECT_EQ(Bytes(image, 10, 2), c.bytes) << c.value;
        EXPECT_EQ(LoadInteger(image, 10), c.value) << c.value;
    }
}

TEST(IntegerEncoding, DecodeReadsEveryByteLayout) {
    for (int high = 0; high < 256; ++high) {
        for (int low = 0; low < 256; low += 51) {
            const int magnitude = (high & 0x7F) * 256 + low;
            const int expected = high & 0x80 ? -magnitude : magnitude;
            ASSERT_EQ(
                DecodeInteger(static_cast<std::uint8_t>(high), static_cast<std::uint8_t>(low)),
                expected)
                << high << " " << low;
        }
    }
}

TEST(VariableOperandEncoding, EachRangeNamesItsArea) {
    const struct {
        int operand;
        VariableArea area;
        int index;
    } cases[] = {
        {0, VariableArea::RX, 0},          {1, VariableArea::Single, 1},
        {32, VariableArea::Single, 32},    {33, VariableArea::Byte, 1},
        {128, VariableArea::Byte, 96},     {129, VariableArea::Integer, 1},
        {251, VariableArea::Integer, 123}, {252, VariableArea::Stack, 0},
        {253, VariableArea::Port, 0},      {254, VariableArea::Adc, 0},
        {255, VariableArea::I2C, 0},
    };
    for (const auto& c : cases) {
        const DecodedOperand decoded = DecodeVariableOperand(static_cast<std::uint8_t>(c.operand));
        EXPECT_EQ(decoded.area, c.area) << c.operand;
        EXPECT_EQ(decoded.index, c.index) << c.operand;
    }
}

TEST(VariableOperandEncoding, TheRunLoopsFastTestsAgreeWithTheDecode) {
    for (int value = 0; value < 256; ++value) {
        const auto operand = static_cast<std::uint8_t>(value);
        const DecodedOperand decoded = DecodeVariableOperand(operand);
        EXPECT_EQ(NamesSingle(operand), decoded.area == VariableArea::Single) << value;
        EXPECT_EQ(NamesInteger(operand), decoded.area == VariableArea::Integer) << value;
        if (NamesInteger(operand)) {
            EXPECT_EQ(static_cast<int>(IntegerIndexOf(operand)), decoded.index) << value;
        }
    }
}

TEST(VariableOperandEncoding, EncodingReversesDecoding) {
    for (int operand = 0; operand < 256; ++operand)
        EXPECT_EQ(VariableOperandOf(DecodeVariableOperand(static_cast<std::uint8_t>(operand))),
                  operand);
}

TEST(InlineDataEncoding, VariableWordsAndInitialValueWidths) {
    EXPECT_EQ(VariableWordOperand(32500), -1);
    EXPECT_EQ(VariableWordOperand(-32767), -1);
    EXPECT_EQ(VariableWordOperand(32501), 1);
    EXPECT_EQ(VariableWordOperand(32767), 267);  // past 255: no operand, the reader decides
    const struct {
        int operand;
        InitialValueWidth width;
    } widths[] = {{0, InitialValueWidth::Single}, {32, InitialValueWidth::Single},
                  {33, InitialValueWidth::Byte},  {128, InitialValueWidth::Byte},
                  {129, InitialValueWidth::Word}, {255, InitialValueWidth::Word}};
    for (const auto& w : widths)
        EXPECT_EQ(InitialValueWidthOf(static_cast<std::uint8_t>(w.operand)), w.width) << w.operand;
}

TEST(IntegerEncoding, NegativeZeroReadsAsZero) {
    ProgramImage image{};
    image[5] = 0x80;
    EXPECT_EQ(LoadInteger(image, 5), 0);
}

TEST(IntegerEncoding, OutOfRangeHasNoEncoding) {
    ProgramImage image{};
    EXPECT_THROW(StoreInteger(image, 1, 32768), EncodingError);
    EXPECT_THROW(StoreInteger(image, 1, -32768), EncodingError);
    EXPECT_THROW(StoreInteger(image, 1, 327499), EncodingError);
    EXPECT_NO_THROW(StoreInteger(image, 1023, 5));
    EXPECT_THROW(StoreInteger(image, 1024, 5), EncodingError);  // second byte beyond 1024
    EXPECT_THROW(StoreInteger(image, -1, 5), EncodingError);
}

TEST(SingleEncoding, LeastSignificantByteFirst) {
    ProgramImage image{};
    StoreSingle(image, 1, 1.0f);
    EXPECT_EQ(Bytes(image, 1, 4), (std::vector<int>{0x00, 0x00, 0x80, 0x3F}));
    StoreSingle(image, 1, -2.5f);
    EXPECT_EQ(Bytes(image, 1, 4), (std::vector<int>{0x00, 0x00, 0x20, 0xC0}));
    StoreSingle(image, 1, 3.5f);
    EXPECT_EQ(Bytes(image, 1, 4), (std::vector<int>{0x00, 0x00, 0x60, 0x40}));
    EXPECT_EQ(LoadSingle(image, 1), 3.5f);
    EXPECT_THROW(StoreSingle(image, 1022, 1.0f), EncodingError);
    EXPECT_NO_THROW(StoreSingle(image, 1021, 1.0f));
}

TEST(ByteEncoding, RoundsHalfToEvenWithinRange) {
    const struct {
        double value;
        int byte;
    } cases[] = {{0, 0}, {255, 255}, {2.5, 2}, {3.5, 4}, {254.6, 255}, {-0.4, 0}};
    for (const auto& c : cases) {
        ProgramImage image{};
        StoreByte(image, 1024, c.value);
        EXPECT_EQ(image[1024], c.byte) << c.value;
    }
    ProgramImage image{};
    EXPECT_THROW(StoreByte(image, 1, 256), EncodingError);
    EXPECT_THROW(StoreByte(image, 1, -1), EncodingError);
    EXPECT_THROW(StoreByte(image, 1, std::nan("")), EncodingError);
    EXPECT_THROW(StoreByte(image, 1025, 1), EncodingError);
}

}  // namespace
}  // namespace zr::machine
