// The host of tests and `keltoc run`: keys from a script, virtual time (one
// timer tick every N executed instructions; delays advance it at once) and
// deterministic stop rules.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/display_history.h"
#include "emulator/host.h"
#include "emulator/key_script.h"
#include "emulator/serial_input.h"

namespace zr::emulator {

enum class StopReason : std::uint8_t {
    None,              // still running
    Stopped,           // back in the stopped state with no token left
    WaitingForInput,   // blocked for input with no token left to deliver
    MaxInstructions,   // the instruction limit was reached
    SerialInputEnded,  // INPUT or LOAD read past the end of the serial input
    EndToken,          // the script's `end`
    Breakpoint,        // the debugger paused the program (the run ends there)
};

std::string_view StopReasonName(StopReason reason);

// How many of the last serial lines a headless run keeps by default, as many as the
// display history keeps screens.
inline constexpr std::size_t kSerialLinesKept = DisplayHistory::kMaxScreens;

struct HeadlessOptions {
    std::vector<KeyToken> keys;
    std::uint64_t instructionsPerTick = 10000;
    std::uint64_t maxInstructions = 10'000'000;  // counted from where the run starts
    SerialInput serialIn;                        // lines INPUT and LOAD read
    // The serial lines written: the host keeps the last `serialLinesKept` of them (0: it only
    // counts them), so a program that prints forever cannot exhaust memory, and hands every
    // one to `serialSink`, when given, as it is written (keltoc run --serial-out).
    std::size_t serialLinesKept = kSerialLinesKept;
    std::function<void(std::string_view line)> serialSink;
};

struct ReportedError {
    int code = 0;
    int address = 0;
};

class HeadlessHost : public Host {
  public:
    explicit HeadlessHost(HeadlessOptions options);

    // Runs the emulator's firmware loop from its opening until a stop rule ends it.
    void Run(Emulator& emulator);
    // Goes on from the emulator's state as it stands (a restored snapshot)
    // without the opening, under the same stop rules.
    void Resume(Emulator& emulator);

    StopReason stopReason() const { return stopReason_; }
    // Ends the run where the debugger paused it.
    void EndAtPause(Emulator& emulator) { End(emulator, StopReason::Breakpoint); }
    // The last serial lines written (at most HeadlessOptions::serialLinesKept), and how many
    // were written in all and how many of those fell off the front.
    const std::deque<std::string>& serialOut() const { return serialOut_; }
    std::uint64_t serialLineCount() const { return serialLines_; }
    std::uint64_t serialLinesDropped() const { return serialLines_ - serialOut_.size(); }
    std::uint64_t serialLinesRead() const { return serialLinesRead_; }
    const std::vector<ReportedError>& errors() const { return errors_; }
    // Every screen of the run, the last DisplayHistory::kMaxScreens of them.
    const DisplayHistory& displayHistory() const { return history_; }

    void Pump(Emulator& /*emulator*/) override {}
    void DisplayChanged(Emulator& emulator, const Display& display) override;
    void WaitForEvent(Emulator& emulator, WaitReason reason) override;
    void Checkpoint(Emulator& emulator, std::uint64_t instructions) override;
    void ProgramStopped(Emulator& emulator) override;
    void RunErrorReported(Emulator& emulator, int code, int address) override;
    void SerialWriteLine(std::string_view line) override;
    std::optional<std::string> SerialReadLine(Emulator& emulator) override;

  private:
    void End(Emulator& emulator, StopReason reason);
    void ScheduleCheckpoint(Emulator& emulator);
    void Start(Emulator& emulator);

    HeadlessOptions options_;
    std::deque<KeyToken> waitTokens_;   // delivered when the emulator blocks
    std::deque<KeyToken> timedTokens_;  // @N tokens, by N
    std::uint64_t nextTick_ = 0;
    std::uint64_t endAt_ = 0;  // the instruction count of maxInstructions
    std::uint64_t serialLinesRead_ = 0;
    StopReason stopReason_ = StopReason::None;
    std::deque<std::string> serialOut_;
    std::uint64_t serialLines_ = 0;
    std::vector<ReportedError> errors_;
    DisplayHistory history_;
};

}  // namespace zr::emulator
