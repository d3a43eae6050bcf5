// The screens a run has shown: every change of the two display lines, with
// the executed instruction count at which it appeared. Changes an instruction
// makes one after the other (a print list writes character by character)
// merge into the screen it leaves, unless the device waited in between (a
// key, a delay, a trace step) and the user could see the screen before. Kept by the hosts, so
// output that a later screen overwrites (the address prompt after End) can
// still be read. Holds the last kMaxScreens screens only, so a program that
// redraws forever cannot exhaust memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace zr::emulator {

class Display;

struct DisplayScreen {
    std::uint64_t instructions = 0;
    std::string line1;  // Windows-1251, as Display::Line gives it
    std::string line2;
    friend bool operator==(const DisplayScreen&, const DisplayScreen&) = default;
};

class DisplayHistory {
  public:
    static constexpr std::size_t kMaxScreens = 10000;

    // Adds the display's lines when they differ from the last screen recorded
    // (also from one already taken).
    void Record(std::uint64_t instructions, const Display& display);
    void Record(std::uint64_t instructions, std::string_view line1, std::string_view line2);
    // The device waits: the screen recorded last stays as it is.
    void Settle() { open_ = false; }

    const std::deque<DisplayScreen>& screens() const { return screens_; }
    // Screens that fell off the front since the last Clear or Take.
    std::uint64_t dropped() const { return dropped_; }

    // Hands over the screens recorded so far; the next Record still compares
    // with the last of them.
    std::deque<DisplayScreen> Take();
    // A new run: nothing recorded, nothing to compare with.
    void Clear();

  private:
    std::deque<DisplayScreen> screens_;
    std::uint64_t dropped_ = 0;
    std::string last1_, last2_;
    bool haveLast_ = false;
    bool open_ = false;  // the last screen may still take changes of its instruction
};

}  // namespace zr::emulator
