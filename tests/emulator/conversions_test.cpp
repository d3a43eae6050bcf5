#include "emulator/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "machine/numbers.h"

namespace zr::emulator {
namespace {

// The conversions' rounding must be the machine's RoundHalfEven followed by
// the range test, for every double: ties, the edges of each range, and the
// values the processor's conversion answers with its "indefinite" result.
void ExpectRoundsAsTheMachine(double value) {
    const auto expected = machine::RoundToRange(value, INT32_MIN, INT32_MAX);
    std::int32_t rounded = 0;
    const bool ok = RoundToInt32(value, rounded);
    ASSERT_EQ(ok, expected.has_value()) << value;
    if (ok) {
        ASSERT_EQ(rounded, *expected) << value;
    }
    for (const auto& [lo, hi] : {std::pair{INT16_MIN, INT16_MAX}, std::pair{0, 255}}) {
        const auto inRange = machine::RoundToRange(value, lo, hi);
        ASSERT_EQ(RoundInto(value, lo, hi, rounded), inRange.has_value()) << value;
        if (inRange) {
            ASSERT_EQ(rounded, *inRange) << value;
        }
    }
}

TEST(Conversions, RoundingIsTheMachinesAtEveryEdge) {
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[] = {0.0,
                            -0.0,
                            0.5,
                            1.5,
                            2.5,
                            -2.5,
                            3.5,
                            -0.5,
                            -0.49,
                            254.5,
                            255.5,
                            255.49,
                            -0.5000001,
                            32767.5,
                            32767.49,
                            32766.5,
                            -32768.5,
                            -32768.49,
                            -32769.5,
                            -32767.5,
                            2147483647.0,
                            2147483647.5,
                            2147483646.5,
                            2147483648.0,
                            -2147483648.0,
                            -2147483648.5,
                            -2147483648.51,
                            -2147483647.5,
                            -2147483647.49,
                            -2147483649.0,
                            1e300,
                            -1e300,
                            inf,
                            -inf,
                            std::nan(""),
                            4.9e-324,
                            3e9,
                            -3e9,
                            65535.0,
                            -65536.0};
    for (const double value : cases) ExpectRoundsAsTheMachine(value);
}

TEST(Conversions, RoundingIsTheMachinesOnRandomValues) {
    std::mt19937_64 random(7340);
    std::uniform_real_distribution<double> wide(-3e9, 3e9);
    std::uniform_int_distribution<int> whole(-70000, 70000);
    for (int i = 0; i < 200000; ++i) {
        ExpectRoundsAsTheMachine(wide(random));
        ExpectRoundsAsTheMachine(whole(random) + 0.5);  // ties
        ExpectRoundsAsTheMachine(whole(random) / 4.0);
    }
}

// A float rounds as the same value widened: every float around the edges of
// the 16- and 32-bit ranges, the ties near 0, and random bit patterns
// (NaNs and infinities among them).
TEST(Conversions, AFloatRoundsAsItsDouble) {
    const auto expectSame = [](float value) {
        std::int32_t fromFloat = 0;
        std::int32_t fromDouble = 0;
        const bool ok = RoundToInt32(value, fromFloat);
        ASSERT_EQ(ok, RoundToInt32(static_cast<double>(value), fromDouble)) << value;
        if (ok) {
            ASSERT_EQ(fromFloat, fromDouble) << value;
        }
        ASSERT_EQ(RoundInto(value, INT16_MIN, INT16_MAX, fromFloat),
                  RoundInto(static_cast<double>(value), INT16_MIN, INT16_MAX, fromDouble))
            << value;
    };
    for (const float edge : {2147483648.0f, -2147483648.0f, 32767.5f, -32768.5f, 0.5f, -0.5f}) {
        float below = edge;
        float above = edge;
        for (int i = 0; i < 1000; ++i) {
            expectSame(below);
            expectSame(above);
            below = std::nextafter(below, -INFINITY);
            above = std::nextafter(above, INFINITY);
        }
    }
    std::mt19937 random(7340);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        expectSame(value);
    }
}

TEST(Conversions, ChecksFaultWithTheConversionCode) {
    EXPECT_EQ(ToInt16(2.5), 2);
    EXPECT_EQ(ToInt16(-32768.4), -32768);
    EXPECT_EQ(ToByte(254.5), 254);
    EXPECT_EQ(ToInt32(-2147483648.5), INT32_MIN);
    for (const double bad : {32767.5, -32768.6, std::nan("")}) {
        try {
            ToInt16(bad);
            ADD_FAILURE() << bad;
        } catch (const RunFault& fault) {
            EXPECT_EQ(fault.code, kErrorConversionRange);
        }
    }
    EXPECT_THROW(CheckedFloat(1e39), RunFault);
    EXPECT_EQ(CheckedFloat(-0.0), -0.0f);
}

}  // namespace
}  // namespace zr::emulator
