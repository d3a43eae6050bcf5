// Sources that are not RTF: UTF-8 or Windows-1251 text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/zrt.h"
#include "test_support.h"

namespace zr::formats {
namespace {

using namespace std::literals;
using testing::TestName;

struct PlainCase {
    const char* what;
    std::string bytes;
    std::string text;
};

const std::vector<PlainCase> kPlainCases = {
    {"empty", "", ""},
    {"ASCII", "Dup\nEnd", "Dup\nEnd"},
    {"UTF-8 Cyrillic", "Ввод x", "Ввод x"},
    {"a byte-order mark is dropped", "\xEF\xBB\xBFx", "x"},
    {"CR LF and CR become LF", "a\r\nb\rc\n\r\nd\r", "a\nb\nc\n\nd\n"},
    {"invalid UTF-8 is Windows-1251", "\xC2\xE2\xEE\xE4 \xB8\r\n", "Ввод ё\n"},
    {"an overlong form is not UTF-8", "\xC0\xAF", "АЇ"},
    {"an encoded surrogate is not UTF-8", "\xED\xA0\x80", "н\u00A0Ђ"},
    {"a truncated sequence is not UTF-8", "ab\xD0", "abР"},
    {"NUL bytes stay", "a\0b"s, "a\0b"s},
    {"leading space before {\\rtf makes it plain", " {\\rtf1 x}", " {\\rtf1 x}"},
    {"capitals are not RTF", "{\\RTF1 x}", "{\\RTF1 x}"},
};

class ReadsPlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(ReadsPlainText, Case) {
    const RichText doc = ReadZrt(GetParam().bytes);
    EXPECT_EQ(doc.text, GetParam().text);
    EXPECT_TRUE(doc.runs.empty());
}

INSTANTIATE_TEST_SUITE_P(Plain, ReadsPlainText, ::testing::ValuesIn(kPlainCases),
                         [](const auto& info) { return TestName(info.param.what); });

}  // namespace
}  // namespace zr::formats
