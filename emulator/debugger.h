// The debugger beside an Emulator: breakpoints, stepping rules, the trace
// and a statement observer. It reaches the run loop only through the attention
// flag and a stop map (one byte per counter value): with nothing armed
// the loop runs its plain form and pays nothing; with something armed the
// loop leaves at a marked address and the checks between two instructions
// ask the debugger whether to pause there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "emulator/break_condition.h"
#include "emulator/device_state.h"
#include "machine/image.h"
#include "machine/statement_table.h"

namespace zr::emulator {

class Emulator;

// The value a data breakpoint compares: `operand` (a VariableOperand: a
// Single, Byte or Integer cell, RX or Stack) read straight from the areas.
float WatchedValueOf(const MachineState& machine, std::uint8_t operand);

// What a breakpoint asks beyond its place. A disabled one never stops; a
// condition must hold; with a hit count N (N >= 1) it stops only on the Nth
// arrival where its condition held (0: on every such arrival).
struct BreakpointSettings {
    bool enabled = true;
    std::optional<BreakCondition> condition;
    int hitCount = 0;
};

enum class PauseReason : std::uint8_t { Breakpoint, Step, RunTo, StepBack, DataChange };

struct PauseInfo {
    PauseReason reason = PauseReason::Breakpoint;
    int address = 0;
    const machine::ProgramStatement* statement = nullptr;  // the statement about to run
    int changedOperand = -1;  // DataChange: the watched variable that changed
};

class Debugger {
  public:
    // The program's statements (shared with whoever else shows them; null:
    // none).
    Debugger(Emulator& emulator, std::shared_ptr<const machine::StatementTable> statements);
    ~Debugger();
    Debugger(const Debugger&) = delete;
    Debugger& operator=(const Debugger&) = delete;

    // Called when the program pauses, just before the statement's first
    // instruction. It may block (a window waits for the next command) or end
    // the run; when it returns, the run goes on under the rule then set.
    std::function<void(Emulator&, const PauseInfo&)> onPause;

    // ---- Breakpoints ----
    // On the first statement that starts on `line` or, when none does, on the
    // next line that has one. Returns the line used, 0 when none follows.
    int AddBreakpointAtLine(int line);
    void AddBreakpoint(int address);
    void RemoveBreakpoint(int address);
    void ClearBreakpoints();
    const std::set<int>& breakpoints() const { return breakpoints_; }
    // As AddBreakpointAtLine, with its settings (replacing those it had).
    int SetBreakpointAtLine(int line, BreakpointSettings settings);
    void SetBreakpoint(int address, BreakpointSettings settings);
    // The arrivals at the breakpoint where its condition held, this run.
    int HitsAt(int address) const;
    // A new run counts from 0.
    void ResetHitCounts() { hits_.clear(); }

    // ---- Data breakpoints ----
    // Pause at the first statement start after the variable's value changed
    // (nothing of that statement has run). `operand` is a VariableOperand: a
    // Single, Byte or Integer cell (an array element is its own cell), RX or
    // Stack; the port and the analogue and I2C inputs cannot be watched, as
    // reading them talks to the hardware. False for those.
    bool AddDataBreakpoint(std::uint8_t operand);
    void RemoveDataBreakpoint(std::uint8_t operand);
    void ClearDataBreakpoints();
    // Each watched operand with the value last seen at a statement start.
    const std::map<std::uint8_t, float>& dataBreakpoints() const { return dataBreakpoints_; }

    // ---- Stepping rules (set while paused, or before a run) ----
    void Continue();          // to the next breakpoint
    void StepInto();          // to the next statement start
    void StepOver();          // ... at this call level or above: a Call runs to its return
    void StepOut();           // ... once the current call level has returned
    void RunTo(int address);  // to `address` (or a breakpoint before it)

    // ---- Step back ----
    // Keeps the device state at each statement start reached, the last
    // `maxStops` of them (0: none, the history is dropped).
    void KeepHistory(std::size_t maxStops);
    std::size_t historySize() const { return history_.size(); }
    // While paused: puts the device back as it was at the previous statement
    // stop and pauses there again (reason StepBack) once onPause returns.
    // Running on from there executes again. False when no earlier stop is kept.
    bool StepBack();

    // The device state now, and putting one back.
    DeviceState CaptureState() const;
    void RestoreState(const DeviceState& state);

    // ---- The trace ----
    // While on, the host gets the stack list before every instruction
    // (Host::TraceStack) and, at the first instruction of a statement, the
    // line "PC: WORD  ( N)" (Host::StatementReached); the run then waits
    // there until Emulator::GrantStep, the trace going off or the end.
    void SetTraceOn(bool on);
    bool traceOn() const { return traceOn_; }

    // Called at every statement start reached (without pausing); empty: none.
    void SetStatementObserver(
        std::function<void(Emulator&, const machine::ProgramStatement&)> observer);

    const machine::StatementTable& statements() const { return *statements_; }
    // The statement whose first instruction is at `address`, or nullptr.
    const machine::ProgramStatement* StatementAt(int address) const {
        return statements_->At(address);
    }
    // The statement an instruction at `address` belongs to: the nearest
    // statement start at or before it (nothing before the first one).
    const machine::ProgramStatement* StatementContaining(int address) const;
    // Drops any stop asked for (a step, run to, step out) and keeps only the
    // breakpoints: a new run starts without the last run's requests.
    void ForgetStepRequests() { Continue(); }

    // ---- For the run loop ----
    // Before the instruction at the program counter: whether the program
    // paused there (onPause has run).
    bool CheckBeforeInstruction();

  private:
    enum class Rule : std::uint8_t { None, StepInto, StepOver, StepOut, RunTo, PauseAgain };
    void SetRule(Rule rule, int target = 0);
    bool RuleStopsAt(int address) const;
    void Rearm();
    void DropOldestStop();
    float WatchedValue(std::uint8_t operand) const;
    bool BreakpointStops(int address);  // counts the arrival
    int ChangedWatch();  // the first watched operand that changed, -1 none; notes the new values
    void NoteWatchedValues();
    void TraceBefore(int address);

    Emulator& emulator_;
    std::shared_ptr<const machine::StatementTable> statements_;
    std::set<int> breakpoints_;
    std::map<int, BreakpointSettings> settings_;  // only those that ask more than a stop
    std::map<int, int> hits_;
    std::map<std::uint8_t, float> dataBreakpoints_;
    Rule rule_ = Rule::None;
    int ruleTarget_ = 0;
    int ruleDepth_ = 0;  // the return pointer when the rule was set
    std::function<void(Emulator&, const machine::ProgramStatement&)> observer_;
    bool traceOn_ = false;
    // The last place checked: a statement is seen once per arrival, not
    // again when the checks run twice before it executes.
    int seenAddress_ = -1;
    std::uint64_t seenCount_ = 0;
    std::size_t maxStops_ = 0;
    std::deque<DeviceState> history_;  // the last entry: the state at the latest stop
    // Indexed by the counter as 16 bits: the run loop's one test for "leave
    // here". Besides the debugger's stops it marks every counter the plain
    // loop leaves at (0 and 1024 up, negative ones from 32768 up).
    std::vector<std::uint8_t> stopMap_;
};

}  // namespace zr::emulator
