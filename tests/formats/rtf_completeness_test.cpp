// Telling a complete RTF file from one cut short.
#include <gtest/gtest.h>

#include <utility>

#include "formats/zrt.h"

namespace zr::formats {
namespace {

// A file cut short ends inside the document's group; braces and backslashes
// written as text do not count.
TEST(Reader, CompleteRtfIsToldFromOneCutShort) {
    const std::pair<const char*, bool> cases[] = {
        {"{\\rtf1 Dup\\par}", true},
        {"{\\rtf1 {\\colortbl;}\\cf1 a\\{ b\\} \\\\}\n", true},
        {"{\\rtf1 {\\colortbl;}\\cf1 Dup\\par Sw", false},
        {"{\\rtf1 text \\}", false},
        {"{\\rtf1 text \\\\", false},
        {"", false},
    };
    for (const auto& [rtf, complete] : cases) EXPECT_EQ(IsCompleteRtf(rtf), complete) << rtf;
}

}  // namespace
}  // namespace zr::formats
