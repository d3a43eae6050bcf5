// The window's host: actions come in through the queue of QueuedHost, and
// everything the emulator shows is published into one EmulatorFrame under a
// mutex. The first change after a frame was taken calls the changed callback
// once, so the window repaints at most once per frame from the latest state.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "emulator/emulator.h"
#include "emulator/queued_host.h"
#include "shell/device/emulator_frame.h"

namespace zr::shell {

class GuiHost : public emulator::QueuedHost {
  public:
    // Serial lines a frame keeps; older ones of a flood are dropped and counted.
    static constexpr std::size_t kMaxSerialLinesPerFrame = 500;

    // Called on the worker thread when the published state becomes changed.
    void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }
    // Any thread: the VariableOperand shown at each trace stop, 0 = none.
    void setWatchOperand(int operand) { watchOperand_.store(operand); }

    // GUI thread: the latest state and what happened since the last call.
    EmulatorFrame TakeFrame();
    // While no worker runs: a fresh window shows no pins and no stops, and
    // lines typed for an earlier run are gone.
    void ResetFrame();

    // Worker thread, between two run loops: the display history starts
    // afresh (a new program, a new run).
    void BeginRun();
    // Worker thread, before a run loop: its greeting and address prompt are
    // answered with Enter until the program has started at address 1.
    void StartProgramOnce(const emulator::Emulator& emulator);

    // Worker thread (from a posted action): a line typed into the console.
    void QueueSerialInput(std::string line) { serialInput_.push_back(std::move(line)); }

    // Worker thread, from the debugger: publishes the pause before the
    // statement at `address` (with the value stack, `changedWatch`, the
    // watched VariableOperand that changed, or -1, and the breakpoints' hit
    // counts) and waits, taking posted actions, until one of them calls
    // Resume or the run is ended.
    void Pause(emulator::Emulator& emulator, int address, int changedWatch,
               std::vector<BreakpointHits> hits = {});
    // Worker thread (from a posted action): the pause ends.
    void Resume() { paused_ = false; }
    bool paused() const { return paused_; }
    // Worker thread: the program waits for a key or a serial line, with no
    // instruction run since the wait began; a pause taken now is in the wait.
    bool inInputWait(const emulator::Emulator& emulator) const;
    bool pausedInWait() const { return paused_ && pausedInWait_; }
    // Worker thread: called when a key wait begins while no program runs (the
    // address prompt after End, a stop or a run error).
    void setStoppedCallback(std::function<void()> callback) { stopped_ = std::move(callback); }

    void Pump(emulator::Emulator& emulator) override;
    void WaitForEvent(emulator::Emulator& emulator, emulator::WaitReason reason) override;
    void DisplayChanged(emulator::Emulator& emulator, const emulator::Display& display) override;
    void PinChanged(int pin, int value) override;
    void TraceStack(const std::vector<std::string>& stackLines) override;
    void StatementReached(emulator::Emulator& emulator, const emulator::TraceStop& stop) override;
    void SerialWriteLine(std::string_view line) override;
    std::optional<std::string> SerialReadLine(emulator::Emulator& emulator) override;

  private:
    template <typename Change>
    void Publish(Change change);
    RunStatus CurrentStatus(const emulator::Emulator& emulator) const;
    void PublishStatus(const emulator::Emulator& emulator);
    bool StartingProgram(const emulator::Emulator& emulator) const;

    std::function<void()> changed_;
    std::function<void()> stopped_;
    std::atomic<int> watchOperand_{0};
    std::deque<std::string> serialInput_;  // worker only
    bool waitingForSerialInput_ = false;   // worker only
    // Worker only: the last wait began with the instruction count waitCount_.
    bool waitSeen_ = false;
    emulator::WaitReason waitReason_ = emulator::WaitReason::Key;
    std::uint64_t waitCount_ = 0;
    bool startingProgram_ = false;  // worker only: answering the greeting and prompt
    bool paused_ = false;           // worker only: inside Pause
    bool pausedInWait_ = false;     // worker only: that Pause came inside an input wait
    int changedWatch_ = -1;         // worker only: of the pause
    std::uint64_t startCount_ = 0;  // the instruction count when the start was asked for

    std::mutex mutex_;
    EmulatorFrame frame_;
    emulator::DisplayHistory history_;  // screens not yet taken with a frame
    bool dirty_ = false;
};

}  // namespace zr::shell
