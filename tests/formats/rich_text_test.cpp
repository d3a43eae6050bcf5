// Canonical runs and the UTF-16 offsets the Qt editor uses.
#include "formats/rich_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace zr::formats {
namespace {

using testing::TestName;
using Runs = std::vector<ColourRun>;

struct NormalizeCase {
    const char* what;
    Runs runs;
    Runs canonical;  // for a text of 10 characters
};

const std::vector<NormalizeCase> kNormalizeCases = {
    {"canonical runs stay", {{0, 2, 1}, {5, 5, 2}}, {{0, 2, 1}, {5, 5, 2}}},
    {"sorted by start", {{5, 1, 2}, {0, 1, 1}}, {{0, 1, 1}, {5, 1, 2}}},
    {"the later run wins an overlap", {{0, 6, 1}, {2, 2, 2}}, {{0, 2, 1}, {2, 2, 2}, {4, 2, 1}}},
    {"equal neighbours merge", {{0, 2, 1}, {2, 3, 1}, {4, 2, 1}}, {{0, 6, 1}}},
    {"colour 0 makes no run", {{0, 10, 1}, {3, 2, 0}}, {{0, 3, 1}, {5, 5, 1}}},
    {"clipped to the text", {{-3, 5, 1}, {8, 99, 2}}, {{0, 2, 1}, {8, 2, 2}}},
    {"empty and negative runs vanish", {{3, 0, 1}, {4, -2, 2}, {12, 1, 3}}, {}},
    {"huge values do not overflow", {{2147483647, 2147483647, 1}, {1, 2147483647, 2}}, {{1, 9, 2}}},
};

class NormalizesRuns : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizesRuns, Case) {
    EXPECT_EQ(NormalizeRuns(GetParam().runs, 10), GetParam().canonical);
}

INSTANTIATE_TEST_SUITE_P(RichText, NormalizesRuns, ::testing::ValuesIn(kNormalizeCases),
                         [](const auto& info) { return TestName(info.param.what); });

TEST(Utf16Runs, CharactersPastUFFFFTakeTwoUnits) {
    const std::string text = "a😀bёc";  // code points a 😀 b ё c; UTF-16 units a hi lo b ё c
    const Runs inCodePoints = {{1, 2, 7}, {4, 1, 8}};
    const Runs inUtf16 = {{1, 3, 7}, {5, 1, 8}};
    EXPECT_EQ(ToUtf16Runs(text, inCodePoints), inUtf16);
    EXPECT_EQ(FromUtf16Runs(text, inUtf16), inCodePoints);
}

TEST(Utf16Runs, OffsetsInsideAPairOrPastTheEndAreClamped) {
    const std::string text = "😀x";
    EXPECT_EQ(FromUtf16Runs(text, Runs{{1, 1, 7}}), (Runs{{0, 1, 7}}));
    EXPECT_EQ(FromUtf16Runs(text, Runs{{2, 50, 7}}), (Runs{{1, 1, 7}}));
    EXPECT_EQ(ToUtf16Runs(text, Runs{{-1, 50, 7}}), (Runs{{0, 3, 7}}));
}

}  // namespace
}  // namespace zr::formats
