#include "emulator/serial_input.h"

namespace zr::emulator {

SerialInput::SerialInput(std::initializer_list<std::string_view> lines) {
    for (const auto line : lines) {
        text_ += line;
        text_ += '\n';
    }
}

std::optional<std::string> SerialInput::NextLine() {
    if (next_ >= text_.size()) return std::nullopt;
    std::size_t end = text_.find('\n', next_);
    if (end == std::string::npos) end = text_.size();
    std::string line = text_.substr(next_, end - next_);
    next_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace zr::emulator
