#include "compiler/source_text.h"

#include <gtest/gtest.h>

#include "machine/cp1251.h"

namespace zr::compiler {
namespace {

TEST(SourceText, ConvertsLineEndsAndEncoding) {
    EXPECT_EQ(ToCompilerText("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(ToCompilerText("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
}

// The one-pass conversion against the two steps it replaces: line ends to
// CR LF first, then UTF-8 to the code page.
TEST(SourceText, OnePassMatchesLineEndsThenCodePage) {
    auto twoSteps = [](std::string_view utf8) {
        std::string crlf;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (utf8[i] == '\r' || utf8[i] == '\n') {
                if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
                crlf += "\r\n";
            } else {
                crlf += utf8[i];
            }
        }
        return machine::Utf8ToCp1251(crlf);
    };
    const char* const cases[] = {
        "Ёлка ёж «да» — №5\n",         // outside the Cyrillic block and inside it
        "\xD0\n\xD1",                  // a lead byte cut off by a line end and by the end
        "\xE2\x82\n\xF0\x9F\x98\x80",  // a cut three-byte form; a character outside the page
        "\xC0\x80 \xED\xA0\x80 \xFF",  // overlong, a surrogate, a byte that never starts one
        "\xD0\xD0\x9F\r\r\n\n",        // a lead byte followed by another lead
        "\xD2\x90 \xD1\x9F \xD1\xA0",  // U+0490, the last and one past the Cyrillic table
    };
    for (const char* text : cases) EXPECT_EQ(ToCompilerText(text), twoSteps(text)) << text;
    // Malformed UTF-8: the bytes are taken as the code page, line ends converted.
    EXPECT_EQ(PlainBytesToCompilerText("\xCF\xD0\n\xE8\r"), "\xCF\xD0\r\n\xE8\r\n");
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
        if (text[c.position - 1] != '\n') {
            EXPECT_EQ(CompilerPositionOf(text, c.offset), c.position);
        }
    }
}

}  // namespace
}  // namespace zr::compiler
