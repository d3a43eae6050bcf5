// Positions in a text as an editor client counts them (line and character in
// UTF-16 or UTF-8 units) against positions in the compiler's text made from
// it (1-based, one byte per character, CR LF line ends). Both texts break
// lines at the same places: CR LF, LF and CR each end one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr::language {

enum class UnitEncoding : std::uint8_t { Utf16, Utf8 };

struct LineCharacter {
    int line = 0;       // 0-based
    int character = 0;  // 0-based, in units of the encoding
    friend bool operator==(const LineCharacter&, const LineCharacter&) = default;
};

class TextPositions {
  public:
    // `utf8Text`: the text as the client holds it. Malformed bytes count as
    // one character each, as the compiler text makes one "?" of each.
    explicit TextPositions(std::string utf8Text);

    // A compiler position (beyond a line's end: that line's end; beyond the
    // text: its end) as a line and character.
    LineCharacter LineCharacterOf(std::int32_t compilerPosition, UnitEncoding encoding) const;
    // The compiler position of a line and character (past a line's end: its
    // end; past the last line: the end of the text).
    std::int32_t CompilerPositionOf(LineCharacter at, UnitEncoding encoding) const;
    // The byte offset in the UTF-8 text of a line and character, for edits.
    std::size_t Utf8OffsetOf(LineCharacter at, UnitEncoding encoding) const;

    const std::string& text() const { return text_; }
    int lineCount() const { return static_cast<int>(lineStarts_.size()); }

  private:
    std::string_view Line(int line) const;  // without its line end

    std::string text_;
    std::vector<std::size_t> lineStarts_;           // byte offsets in text_
    std::vector<std::int32_t> compilerLineStarts_;  // 1-based compiler positions
};

}  // namespace zr::language
