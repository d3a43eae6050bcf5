// Single-byte device text in the Windows-1251 code page.
#pragma once

#include <string>
#include <string_view>

namespace zr::machine {

// UTF-8 text to Windows-1251 bytes; characters outside the code page become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 bytes to UTF-8. Byte 98, which the code page leaves unassigned, maps to U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// The Unicode code point of one Windows-1251 byte (0 for the unassigned byte 98).
char32_t Cp1251ToCodePoint(unsigned char byte);

// The Windows-1251 byte of a code point, or -1 when the code page lacks it.
int CodePointToCp1251(char32_t codePoint);

// Lower case of Windows-1251 text (Latin and Cyrillic letters); names and
// keywords compare in this form.
std::string LowerCase(std::string_view cp1251);
char LowerCaseByte(char cp1251);

}  // namespace zr::machine
