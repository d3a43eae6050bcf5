// Single- and double-byte Windows code pages, as RTF names them in \ansicpgN, \cpgN and
// \fcharsetN, decoded to Unicode.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace zr::formats {

constexpr int kWindowsLatin1 = 1252;

// The code page a font charset implies, or 0 when it leaves the choice to the document's
// \ansicpg (the ANSI, default and symbol charsets, and charsets we do not know).
int CodePageOfCharset(int charset);

// Code pages 1250, 1251 and 1252 come from tables; returns U+FFFD for bytes a page leaves
// unassigned, and for pages without a table.
char32_t SingleByteToCodePoint(int codePage, unsigned char byte);

// Decodes byte runs in any supported code page: the three tables above, and a fixed list of
// other pages (Greek, Turkish, Baltic, Asian double-byte, DOS, Mac) through iconv. Unsupported
// pages decode as 1252. Converters are opened once per page and kept.
class CodePageDecoder {
  public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;
    ~CodePageDecoder();

    // Appends the characters of `bytes`; malformed bytes become U+FFFD.
    void Decode(int codePage, std::string_view bytes, std::u32string& out);

  private:
    void* Converter(int codePage);  // an iconv_t, or nullptr when iconv lacks the page

    std::unordered_map<int, void*> converters_;
};

}  // namespace zr::formats
