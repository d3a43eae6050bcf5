#include "shell/gui_host.h"

#include "emulator/number_text.h"

namespace zr::shell {

template <typename Change>
void GuiHost::Publish(Change change) {
    bool wasDirty = false;
    {
        std::lock_guard lock(mutex_);
        change(frame_);
        wasDirty = dirty_;
        dirty_ = true;
    }
    if (!wasDirty && changed_) changed_();
}

EmulatorFrame GuiHost::TakeFrame() {
    std::lock_guard lock(mutex_);
    EmulatorFrame taken = frame_;
    frame_.stops.clear();
    frame_.serialOut.clear();
    frame_.droppedSerialLines = 0;
    dirty_ = false;
    return taken;
}

void GuiHost::ResetFrame() {
    std::lock_guard lock(mutex_);
    frame_ = EmulatorFrame{};
    dirty_ = false;
    serialInput_.clear();
}

void GuiHost::Pump(emulator::Emulator& emulator) {
    QueuedHost::Pump(emulator);
    // The I2C buffer changes without a notification; pumps come at least with
    // every timer tick, which is often enough for a table.
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = frame_.i2c != emulator.io.i2c;
    }
    if (changed) Publish([&](EmulatorFrame& f) { f.i2c = emulator.io.i2c; });
}

void GuiHost::DisplayChanged(const emulator::Display& display) {
    Publish([&](EmulatorFrame& f) {
        f.lines[0].assign(display.Line(1));
        f.lines[1].assign(display.Line(2));
    });
}

void GuiHost::PinChanged(int pin, int value) {
    Publish([&](EmulatorFrame& f) { f.pins[pin] = value; });
}

void GuiHost::TraceStack(const std::vector<std::string>& stackLines) {
    Publish([&](EmulatorFrame& f) { f.stackLines = stackLines; });
}

void GuiHost::StatementReached(const emulator::TraceStop& stop) {
    TraceStopView view{stop.statementIndex, stop.line};
    const int operand = watchOperand_.load();
    if (operand != 0 && emulator_) {
        view.watched = true;
        view.watchedValue =
            emulator::FormatDecimal(emulator_->ReadVariable(static_cast<std::uint8_t>(operand)),
                                    emulator_->decimalSeparator());
    }
    Publish([&](EmulatorFrame& f) { f.stops.push_back(std::move(view)); });
}

void GuiHost::SerialWriteLine(std::string_view line) {
    Publish([&](EmulatorFrame& f) {
        if (f.serialOut.size() >= kMaxSerialLinesPerFrame) {
            f.serialOut.erase(f.serialOut.begin());
            ++f.droppedSerialLines;
        }
        f.serialOut.emplace_back(line);
    });
}

// INPUT waits for a line typed into the console; End gives up the wait.
std::optional<std::string> GuiHost::SerialReadLine(emulator::Emulator& emulator) {
    if (serialInput_.empty()) {
        Publish([](EmulatorFrame& f) { f.waitingForSerialInput = true; });
        while (serialInput_.empty() && !emulator.endRequested) {
            WaitForEvent(emulator, emulator::WaitReason::Key);
            if (HasPending()) Pump(emulator);
        }
        Publish([](EmulatorFrame& f) { f.waitingForSerialInput = false; });
    }
    if (serialInput_.empty()) return std::nullopt;
    std::string line = std::move(serialInput_.front());
    serialInput_.pop_front();
    return line;
}

}  // namespace zr::shell
