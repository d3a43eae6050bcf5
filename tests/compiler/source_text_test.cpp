#include "compiler/source_text.h"

#include <gtest/gtest.h>

namespace zr::compiler {
namespace {

TEST(SourceText, ConvertsLineEndsAndEncoding) {
    EXPECT_EQ(ToCompilerText("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(ToCompilerText("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(PlainBytesToCompilerText("\xCF\xF0\xE8\n"), "\xCF\xF0\xE8\r\n");  // not UTF-8: kept
}

TEST(SourceText, LineColumnAndBlanks) {
    const std::string text = "Dup\r\n  Drop\r\nEnd";
    EXPECT_EQ(LineColumnOf(text, 1).line, 1);
    EXPECT_EQ(LineColumnOf(text, 8).line, 2);
    EXPECT_EQ(LineColumnOf(text, 8).column, 3);
    EXPECT_EQ(SkipBlanks(text, 4), 8);
    EXPECT_EQ(LineColumnOf(text, 100).line, 3);
}

TEST(SourceText, EditorOffsetsCountALineEndOnce) {
    const std::string text = "ab\r\ncd\r\n\r\nx";
    const struct {
        std::int32_t position, offset;
    } cases[] = {{1, 0}, {3, 2}, {5, 3}, {6, 4}, {9, 6}, {11, 7}, {12, 8}};
    for (const auto& c : cases) {
        EXPECT_EQ(EditorOffsetOf(text, c.position), c.offset) << c.position;
        if (text[c.position - 1] != '\n') EXPECT_EQ(CompilerPositionOf(text, c.offset), c.position);
    }
}

}  // namespace
}  // namespace zr::compiler
