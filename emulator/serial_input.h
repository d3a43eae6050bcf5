// The lines a headless run's serial channel reads, kept as one text and cut
// into lines only as INPUT and LOAD ask for them: a large input costs about
// its own size in memory, not a string object per line.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace zr::emulator {

class SerialInput {
  public:
    SerialInput() = default;
    // Lines end with LF or CR LF; a last line without an end still counts.
    explicit SerialInput(std::string text) : text_(std::move(text)) {}
    SerialInput(std::initializer_list<std::string_view> lines);

    // The next line without its end, or nothing after the last one.
    std::optional<std::string> NextLine();

  private:
    std::string text_;
    std::size_t next_ = 0;
};

}  // namespace zr::emulator
