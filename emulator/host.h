// The seam between the emulator core and whoever runs it (the window, the
// command line, tests). The core calls out only through this interface, at
// the points where the device lets the outside world in.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr::emulator {

class Emulator;
class Display;

// What a blocked emulator is waiting for.
enum class WaitReason : std::uint8_t {
    Key,        // WaitKey: a key code (the greeting, prompts, Wait, Edit, error report)
    Delay,      // DelaySeconds: timer ticks
    TraceStep,  // TraceStep: the step button
};

// One stop of the trace: the instruction about to run starts a statement.
struct TraceStop {
    int statementIndex = 0;  // into the program's statement table (and statement map)
    std::string line;        // "12: PRINT  ( 2)"
};

class Host {
  public:
    virtual ~Host() = default;

    // The one test the core makes at each pump point; Pump runs only when set.
    bool HasPending() const { return pending_.load(std::memory_order_acquire); }

    // Delivers pending outside events by calling the emulator's command
    // methods (PressKey, TimerTick, CommandStop, RequestEnd, ...). Runs on the
    // emulator's own thread.
    virtual void Pump(Emulator& emulator) = 0;
    // Blocks until something is pending (a host may deliver it at once).
    // Returns without a delivery only when the emulator should give up.
    virtual void WaitForEvent(Emulator& emulator, WaitReason reason) = 0;

    // Called when `instructions` executed instructions reach the checkpoint
    // the host last set with Emulator::SetCheckpoint (virtual time, scripts).
    virtual void Checkpoint(Emulator& /*emulator*/, std::uint64_t /*instructions*/) {}

    // ---- Output notifications ----
    virtual void DisplayChanged(Emulator& /*emulator*/, const Display& /*display*/) {}
    virtual void PinChanged(int /*pin*/, int /*value*/) {}
    // A running program went back to the stopped state (End, stop key, the
    // end of memory, the Stop command, a silent error).
    virtual void ProgramStopped(Emulator& /*emulator*/) {}
    // A run error is about to be reported on the display.
    virtual void RunErrorReported(Emulator& /*emulator*/, int /*code*/, int /*address*/) {}
    // Trace: the stack list before every traced instruction (top slot first),
    // and a stop at the first instruction of a statement.
    virtual void TraceStack(const std::vector<std::string>& /*stackLines*/) {}
    virtual void StatementReached(Emulator& /*emulator*/, const TraceStop& /*stop*/) {}

    // ---- Serial channel 1 ----
    virtual void SerialWriteLine(std::string_view /*line*/) {}
    // The next line, or nothing when the channel has none (no endpoint, or
    // the end of its input); the host may request the end of the run then.
    virtual std::optional<std::string> SerialReadLine(Emulator& /*emulator*/) {
        return std::nullopt;
    }

    // The run loop's attention flag of the emulator this host drives: a
    // pending delivery raises it, so the loop stops to pump. Set by the
    // emulator itself.
    void ConnectAttention(std::atomic<bool>* attention) { attention_ = attention; }

  protected:
    void SetPending(bool pending) {
        pending_.store(pending, std::memory_order_release);
        if (pending && attention_) attention_->store(true, std::memory_order_release);
    }

  private:
    std::atomic<bool> pending_{false};
    std::atomic<bool>* attention_ = nullptr;
};

}  // namespace zr::emulator
