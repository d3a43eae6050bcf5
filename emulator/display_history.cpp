#include "emulator/display_history.h"

#include "emulator/display.h"

namespace zr::emulator {

void DisplayHistory::Record(std::uint64_t instructions, const Display& display) {
    Record(instructions, display.Line(1), display.Line(2));
}

void DisplayHistory::Record(std::uint64_t instructions, std::string_view line1,
                            std::string_view line2) {
    if (haveLast_ && line1 == last1_ && line2 == last2_) return;
    last1_.assign(line1);
    last2_.assign(line2);
    haveLast_ = true;
    const bool merge = open_ && !screens_.empty() && screens_.back().instructions == instructions;
    open_ = true;
    if (merge) {
        screens_.back().line1 = last1_;
        screens_.back().line2 = last2_;
        return;
    }
    if (screens_.size() == kMaxScreens) {
        screens_.pop_front();
        ++dropped_;
    }
    screens_.push_back({instructions, last1_, last2_});
}

std::deque<DisplayScreen> DisplayHistory::Take() {
    std::deque<DisplayScreen> taken;
    taken.swap(screens_);
    dropped_ = 0;
    return taken;
}

void DisplayHistory::Clear() {
    screens_.clear();
    dropped_ = 0;
    haveLast_ = false;
    open_ = false;
}

}  // namespace zr::emulator
