// The two-line, 16-character display and its cursor. Pure model: the
// Emulator wraps these operations with the host's pump and repaint.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zr::emulator {

inline constexpr int kDisplayColumns = 16;

class Display {
  public:
    Display() { Clear(); }

    // Both lines blank; the cursor unplaced (row 0 acts as 1, column 1).
    void Clear();
    void Locate(int row, int column);
    // Writes over the line from the cursor; characters past column 16 are
    // dropped and the cursor still advances by the full length. A cursor past
    // column 16 starts again at column 1 of the same line: no wrap to the
    // other line, no scrolling.
    void Print(std::string_view text);

    // Puts back a saved display: two lines (cut or padded with blanks to 16
    // bytes) and the cursor as Locate left it.
    void Restore(std::string_view line1, std::string_view line2, int row, int column);

    // Line 1 or 2 as 16 Windows-1251 bytes.
    std::string_view Line(int row) const { return lines_[row == 2 ? 1 : 0]; }
    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return cursorColumn_; }

  private:
    std::array<std::string, 2> lines_;
    int cursorRow_ = 0;
    int cursorColumn_ = 1;
};

}  // namespace zr::emulator
