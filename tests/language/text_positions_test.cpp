#include "language/text_positions.h"

#include <gtest/gtest.h>

#include "compiler/source_text.h"

namespace zr::language {
namespace {

// "a😀b" has a character beyond the basic plane: two UTF-16 units, four UTF-8
// bytes, one character of the compiler text ("?").
TEST(TextPositionsTest, CountsUnitsOfEitherEncoding) {
    const std::string text = "x\r\nя😀b\nz\rend";
    const TextPositions positions(text);
    const std::string compilerText = compiler::ToCompilerText(text);
    ASSERT_EQ(compilerText, "x\r\n\xFF?b\r\nz\r\nend");
    EXPECT_EQ(positions.lineCount(), 4);
    struct Case {
        char character;  // in the compiler text
        LineCharacter utf16, utf8;
    };
    const Case cases[] = {
        {'x', {0, 0}, {0, 0}}, {'\xFF', {1, 0}, {1, 0}}, {'?', {1, 1}, {1, 2}},
        {'b', {1, 3}, {1, 6}}, {'z', {2, 0}, {2, 0}},    {'e', {3, 0}, {3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.character);
        const auto position = static_cast<std::int32_t>(compilerText.find(c.character)) + 1;
        EXPECT_EQ(positions.LineCharacterOf(position, UnitEncoding::Utf16), c.utf16);
        EXPECT_EQ(positions.LineCharacterOf(position, UnitEncoding::Utf8), c.utf8);
        EXPECT_EQ(positions.CompilerPositionOf(c.utf16, UnitEncoding::Utf16), position);
        EXPECT_EQ(positions.CompilerPositionOf(c.utf8, UnitEncoding::Utf8), position);
        // The editor's own offsets agree: a line end counts one.
        EXPECT_EQ(compiler::CompilerPositionOf(compilerText,
                                               compiler::EditorOffsetOf(compilerText, position)),
                  position);
    }
    // The end of a line, past a line's end and past the text.
    EXPECT_EQ(positions.LineCharacterOf(static_cast<std::int32_t>(compilerText.find("\r\nz")) + 1,
                                        UnitEncoding::Utf16),
              (LineCharacter{1, 4}));
    EXPECT_EQ(positions.CompilerPositionOf({0, 99}, UnitEncoding::Utf16), 2);
    EXPECT_EQ(positions.CompilerPositionOf({9, 0}, UnitEncoding::Utf16),
              static_cast<std::int32_t>(compilerText.size()) + 1);
    EXPECT_EQ(positions.Utf8OffsetOf({1, 3}, UnitEncoding::Utf16), text.find('b'));
    EXPECT_EQ(positions.Utf8OffsetOf({3, 3}, UnitEncoding::Utf8), text.size());
}

}  // namespace
}  // namespace zr::language
