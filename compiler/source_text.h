// The compiler's source text and positions in it.
//
// The compiler reads Windows-1251 bytes, one per editor character, with CR LF
// line ends; its positions are 1-based byte positions in that text. Editors
// and users count a line end as one character; these helpers convert.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr::compiler {

// UTF-8 text with LF, CR LF or CR line ends to compiler text (CR LF, Windows-1251;
// characters outside the code page become '?').
std::string ToCompilerText(std::string_view utf8);

// A plain-text file's bytes to compiler text: UTF-8 when the bytes are valid
// UTF-8, otherwise Windows-1251 as they stand; line ends become CR LF. A
// byte-order mark is dropped (UTF-16 with its mark is decoded).
std::string PlainBytesToCompilerText(std::string_view bytes);

// A 1-based line and column; the column counts characters, a tab as one.
struct LineColumn {
    int line = 1;
    int column = 1;
};

// Line and column of a 1-based compiler position (positions beyond the text
// give the place just after its end).
LineColumn LineColumnOf(std::string_view compilerText, std::int32_t position);

// The 1-based position of the first character at or after `position` that is
// not white space or a line end: where a statement read from `position` starts.
std::int32_t SkipBlanks(std::string_view compilerText, std::int32_t position);

// The extent of the statement an error selection (errorStart, errorLength)
// names: from its first character (blanks and line ends before it skipped)
// to the end of the last word read, as 1-based positions [first, end).
struct Extent {
    std::int32_t first = 1;
    std::int32_t end = 1;
};
Extent ErrorExtentOf(std::string_view compilerText, std::int32_t errorStart,
                     std::int32_t errorLength);

// Compiler position (1-based, CR LF counts two) <-> editor offset (0-based, a
// line end counts one).
std::int32_t EditorOffsetOf(std::string_view compilerText, std::int32_t position);
std::int32_t CompilerPositionOf(std::string_view compilerText, std::int32_t editorOffset);

}  // namespace zr::compiler
