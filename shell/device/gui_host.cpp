#include "shell/device/gui_host.h"

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

namespace {

// Index of the Enter key, which answers the greeting and the address prompt.
constexpr int kEnterKeyIndex = 15;

}  // namespace

EmulatorFrame GuiHost::TakeFrame() {
    std::lock_guard lock(mutex_);
    EmulatorFrame taken = frame_;
    taken.screens = history_.Take();
    frame_.stops.clear();
    frame_.serialOut.clear();
    frame_.droppedSerialLines = 0;
    frame_.historyRestarted = false;
    dirty_ = false;
    return taken;
}

void GuiHost::ResetFrame() {
    std::lock_guard lock(mutex_);
    frame_ = EmulatorFrame{};
    frame_.historyRestarted = true;
    history_.Clear();
    dirty_ = false;
    serialInput_.clear();
    waitingForSerialInput_ = false;
    waitSeen_ = false;
    startingProgram_ = false;
    paused_ = false;
}

void GuiHost::BeginRun() {
    Publish([&](EmulatorFrame& f) {
        history_.Clear();
        f.historyRestarted = true;
    });
}

void GuiHost::StartProgramOnce(const emulator::Emulator& emulator) {
    startingProgram_ = true;
    startCount_ = emulator.instructionCount();
    Publish([](EmulatorFrame& frame) { ++frame.programStarts; });
}

// Until the program has run an instruction, the run loop is in its greeting
// or its address prompt: both take Enter, and an empty entry means address 1.
bool GuiHost::StartingProgram(const emulator::Emulator& emulator) const {
    return startingProgram_ && emulator.machine.runState == emulator::kStopped &&
           emulator.instructionCount() == startCount_ && !emulator.endRequested;
}

void GuiHost::WaitForEvent(emulator::Emulator& emulator, emulator::WaitReason reason) {
    if (reason == emulator::WaitReason::Key) {
        if (StartingProgram(emulator)) {
            emulator.PressKey(kEnterKeyIndex);
            return;
        }
        startingProgram_ = false;
        if (emulator.machine.runState != 1 && stopped_) stopped_();
    }
    {
        std::lock_guard lock(mutex_);
        history_.Settle();
    }
    if (!waitSeen_ || waitReason_ != reason || waitCount_ != emulator.instructionCount()) {
        waitSeen_ = true;
        waitReason_ = reason;
        waitCount_ = emulator.instructionCount();
        PublishStatus(emulator);
    }
    QueuedHost::WaitForEvent(emulator, reason);
}

RunStatus GuiHost::CurrentStatus(const emulator::Emulator& emulator) const {
    RunStatus status;
    status.runState = emulator.machine.runState;
    status.programCounter = emulator.machine.ProgramCounter();
    status.instructions = emulator.instructionCount();
    // A wait lasts until the next instruction is executed.
    const bool waiting = waitSeen_ && waitCount_ == status.instructions;
    status.waitingForKey = waiting && waitReason_ == emulator::WaitReason::Key;
    status.waitingForStep = waiting && waitReason_ == emulator::WaitReason::TraceStep;
    status.waitingForSerialInput = waitingForSerialInput_;
    status.paused = paused_;
    status.changedWatch = paused_ ? changedWatch_ : -1;
    return status;
}

// Worker thread. Publishes only a change, so a program waiting for a key
// costs no frames.
void GuiHost::PublishStatus(const emulator::Emulator& emulator) {
    const RunStatus status = CurrentStatus(emulator);
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = frame_.status != status;
    }
    if (changed) Publish([&](EmulatorFrame& f) { f.status = status; });
}

bool GuiHost::inInputWait(const emulator::Emulator& emulator) const {
    const bool waiting = waitSeen_ && waitCount_ == emulator.instructionCount();
    return (waiting && waitReason_ == emulator::WaitReason::Key) || waitingForSerialInput_;
}

void GuiHost::Pause(emulator::Emulator& emulator, int address, int changedWatch,
                    std::vector<BreakpointHits> hits) {
    pausedInWait_ = inInputWait(emulator);
    paused_ = true;
    changedWatch_ = changedWatch;
    {
        std::lock_guard lock(mutex_);
        history_.Settle();
    }
    const emulator::MachineState& m = emulator.machine;
    std::vector<std::string> stackLines;
    for (int slot = m.stackPointer; slot >= 1; --slot)
        stackLines.push_back(emulator::FormatTraceNumber(m.valueStack[slot]));
    const RunStatus status = CurrentStatus(emulator);
    auto state = std::make_shared<PausedState>(
        PausedState{emulator.state(), emulator.decimalSeparator(), std::move(hits)});
    Publish([&](EmulatorFrame& f) {
        f.pausedAddress = address;
        ++f.pauseCount;
        f.pausedState = std::move(state);
        f.stackLines = stackLines;
        f.status = status;
    });
    // The plain queue wait: a pause is no key or trace-step wait.
    while (paused_ && !emulator.endRequested) {
        QueuedHost::WaitForEvent(emulator, emulator::WaitReason::TraceStep);
        if (HasPending()) Pump(emulator);
    }
    paused_ = false;
    pausedInWait_ = false;
    const RunStatus running = CurrentStatus(emulator);
    Publish([&](EmulatorFrame& f) {
        f.pausedAddress = -1;
        f.status = running;
    });
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
    PublishStatus(emulator);
}

// The screens of a start the user asked for (greeting, prompt) are not the
// program's and stay out of the history.
void GuiHost::DisplayChanged(emulator::Emulator& emulator, const emulator::Display& display) {
    const bool starting = StartingProgram(emulator);
    const RunStatus status = CurrentStatus(emulator);
    Publish([&](EmulatorFrame& f) {
        f.lines[0].assign(display.Line(1));
        f.lines[1].assign(display.Line(2));
        f.status = status;
        if (!starting) history_.Record(status.instructions, display);
    });
}

void GuiHost::PinChanged(int pin, int value) {
    Publish([&](EmulatorFrame& f) { f.pins[pin] = value; });
}

void GuiHost::TraceStack(const std::vector<std::string>& stackLines) {
    Publish([&](EmulatorFrame& f) { f.stackLines = stackLines; });
}

void GuiHost::StatementReached(emulator::Emulator& emulator, const emulator::TraceStop& stop) {
    TraceStopView view{stop.statementIndex, stop.line};
    const int operand = watchOperand_.load();
    if (operand != 0) {
        view.watched = true;
        view.watchedValue = emulator::FormatDecimal(
            emulator.ReadVariable(static_cast<std::uint8_t>(operand)), emulator.decimalSeparator());
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
    auto setWaiting = [&](bool waiting) {
        waitingForSerialInput_ = waiting;
        const RunStatus status = CurrentStatus(emulator);
        Publish([&](EmulatorFrame& f) {
            f.waitingForSerialInput = waiting;
            f.status = status;
        });
    };
    if (serialInput_.empty()) {
        setWaiting(true);
        while (serialInput_.empty() && !emulator.endRequested) {
            WaitForEvent(emulator, emulator::WaitReason::Key);
            if (HasPending()) Pump(emulator);
        }
        setWaiting(false);
    }
    if (serialInput_.empty()) return std::nullopt;
    std::string line = std::move(serialInput_.front());
    serialInput_.pop_front();
    return line;
}

}  // namespace zr::shell
