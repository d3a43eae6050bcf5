#include "emulator/display.h"

namespace zr::emulator {

void Display::Clear() {
    lines_[0].assign(kDisplayColumns, ' ');
    lines_[1].assign(kDisplayColumns, ' ');
    cursorRow_ = 0;
    cursorColumn_ = 1;
}

void Display::Locate(int row, int column) {
    cursorRow_ = row;
    cursorColumn_ = column;
}

void Display::Restore(std::string_view line1, std::string_view line2, int row, int column) {
    lines_[0].assign(line1.substr(0, kDisplayColumns));
    lines_[1].assign(line2.substr(0, kDisplayColumns));
    for (auto& line : lines_) line.resize(kDisplayColumns, ' ');
    cursorRow_ = row;
    cursorColumn_ = column;
}

void Display::Print(std::string_view text) {
    if (cursorRow_ == 0) cursorRow_ = 1;
    if (cursorColumn_ <= 0) cursorColumn_ = 1;
    if (cursorColumn_ > kDisplayColumns) cursorColumn_ = 1;
    std::string& line = lines_[cursorRow_ == 2 ? 1 : 0];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t column = cursorColumn_ + i;
        if (column > kDisplayColumns) break;
        line[column - 1] = text[i];
    }
    cursorColumn_ += static_cast<int>(text.size());
}

}  // namespace zr::emulator
