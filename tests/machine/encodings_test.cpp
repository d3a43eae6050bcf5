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
