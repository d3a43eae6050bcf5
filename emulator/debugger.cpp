#include "emulator/debugger.h"

#include <algorithm>
#include <bit>

#include "emulator/emulator.h"

namespace zr::emulator {

Debugger::Debugger(Emulator& emulator, std::shared_ptr<const machine::StatementTable> statements)
    : emulator_(emulator),
      statements_(statements ? std::move(statements)
                             : std::make_shared<const machine::StatementTable>()) {
    emulator_.AttachDebugger(this);
    Rearm();
}

Debugger::~Debugger() {
    emulator_.AttachDebugger(nullptr);
    emulator_.KeepSerialLines(false);
}

const machine::ProgramStatement* Debugger::StatementContaining(int address) const {
    const int index = statements_->IndexContaining(address);
    return index < 0 ? nullptr : &(*statements_)[index];
}

int Debugger::AddBreakpointAtLine(int line) {
    return SetBreakpointAtLine(line, {});
}

void Debugger::AddBreakpoint(int address) {
    SetBreakpoint(address, {});
}

int Debugger::SetBreakpointAtLine(int line, BreakpointSettings settings) {
    const int index = statements_->BreakpointIndex(line);
    if (index < 0) return 0;
    const machine::ProgramStatement& statement = (*statements_)[index];
    SetBreakpoint(statement.address, std::move(settings));
    return statement.line;
}

void Debugger::SetBreakpoint(int address, BreakpointSettings settings) {
    if (address < 0 || address > machine::kProgramSize) return;
    breakpoints_.insert(address);
    if (settings.enabled && !settings.condition && settings.hitCount <= 0)
        settings_.erase(address);
    else
        settings_[address] = std::move(settings);
    Rearm();
}

void Debugger::RemoveBreakpoint(int address) {
    breakpoints_.erase(address);
    settings_.erase(address);
    hits_.erase(address);
    Rearm();
}

void Debugger::ClearBreakpoints() {
    breakpoints_.clear();
    settings_.clear();
    hits_.clear();
    Rearm();
}

int Debugger::HitsAt(int address) const {
    const auto it = hits_.find(address);
    return it == hits_.end() ? 0 : it->second;
}

bool Debugger::BreakpointStops(int address) {
    if (!breakpoints_.count(address)) return false;
    const auto it = settings_.find(address);
    if (it == settings_.end()) {
        ++hits_[address];
        return true;
    }
    const BreakpointSettings& settings = it->second;
    if (!settings.enabled) return false;
    if (settings.condition && !ConditionHolds(*settings.condition, emulator_.machine)) return false;
    const int hits = ++hits_[address];
    return settings.hitCount <= 0 || hits == settings.hitCount;
}

bool Debugger::AddDataBreakpoint(std::uint8_t operand) {
    if (operand >= machine::kOperandPort) return false;
    dataBreakpoints_[operand] = WatchedValue(operand);
    Rearm();
    return true;
}

void Debugger::RemoveDataBreakpoint(std::uint8_t operand) {
    dataBreakpoints_.erase(operand);
    Rearm();
}

void Debugger::ClearDataBreakpoints() {
    dataBreakpoints_.clear();
    Rearm();
}

// Straight from the areas: the emulator's own read may fault or reach the host.
float WatchedValueOf(const MachineState& m, std::uint8_t operand) {
    return m.StoredValue(machine::DecodeVariableOperand(operand));
}

float Debugger::WatchedValue(std::uint8_t operand) const {
    return WatchedValueOf(emulator_.machine, operand);
}

// Compared bit for bit, so a NaN that stays is no change and -0 after 0 is.
int Debugger::ChangedWatch() {
    int changed = -1;
    for (auto& [operand, last] : dataBreakpoints_) {
        const float now = WatchedValue(operand);
        if (std::bit_cast<std::uint32_t>(now) != std::bit_cast<std::uint32_t>(last) && changed < 0)
            changed = operand;
        last = now;
    }
    return changed;
}

void Debugger::NoteWatchedValues() {
    for (auto& [operand, last] : dataBreakpoints_) last = WatchedValue(operand);
}

void Debugger::Continue() {
    SetRule(Rule::None);
}
void Debugger::StepInto() {
    SetRule(Rule::StepInto);
}
void Debugger::StepOver() {
    SetRule(Rule::StepOver);
}
void Debugger::StepOut() {
    SetRule(Rule::StepOut);
}
void Debugger::RunTo(int address) {
    SetRule(Rule::RunTo, address);
}

void Debugger::SetStatementObserver(
    std::function<void(Emulator&, const machine::ProgramStatement&)> observer) {
    observer_ = std::move(observer);
    Rearm();
}

void Debugger::SetRule(Rule rule, int target) {
    rule_ = rule;
    ruleTarget_ = target;
    ruleDepth_ = emulator_.machine.returnPointer;
    Rearm();
}

bool Debugger::RuleStopsAt(int address) const {
    const bool statementStart = StatementAt(address) != nullptr;
    const int depth = emulator_.machine.returnPointer;
    switch (rule_) {
        case Rule::StepInto:
            return statementStart;
        case Rule::StepOver:
            return statementStart && depth <= ruleDepth_;
        case Rule::StepOut:
            return statementStart && depth < ruleDepth_;
        case Rule::RunTo:
            return address == ruleTarget_;
        case Rule::PauseAgain:
            return true;
        default:
            return false;
    }
}

// The stop map marks every address where the loop must hand over: the
// breakpoints, a run-to target, every statement start while a step rule or
// the observer needs them, and every address under the trace (its stack
// list comes before each instruction). With nothing marked the loop runs
// plain.
void Debugger::Rearm() {
    stopMap_.assign(std::size_t{1} << 16, 1);
    std::fill(stopMap_.begin() + 1, stopMap_.begin() + machine::kProgramSize, 0);
    bool any = false;
    for (const int address : breakpoints_) {
        const auto it = settings_.find(address);
        if (it == settings_.end() || it->second.enabled) stopMap_[address] = any = true;
    }
    if (rule_ == Rule::RunTo && ruleTarget_ >= 0 && ruleTarget_ <= machine::kProgramSize)
        stopMap_[ruleTarget_] = any = true;
    const bool everyStatement = observer_ || maxStops_ > 0 || !dataBreakpoints_.empty() ||
                                rule_ == Rule::StepInto || rule_ == Rule::StepOver ||
                                rule_ == Rule::StepOut;
    if (traceOn_) {
        std::fill(stopMap_.begin() + 1, stopMap_.begin() + machine::kProgramSize, 1);
        any = true;
    } else if (everyStatement) {
        for (int address = 1; address <= machine::kProgramSize; ++address)
            if (statements_->IndexAt(address) >= 0) stopMap_[address] = any = true;
    }
    emulator_.SetStopMap(any ? stopMap_.data() : nullptr);
}

bool Debugger::CheckBeforeInstruction() {
    const int address = emulator_.machine.ProgramCounter();
    const std::uint64_t count = emulator_.instructionCount();
    if (address == seenAddress_ && count == seenCount_) return false;  // now it runs
    seenAddress_ = address;
    seenCount_ = count;
    if (address < 0 || address > machine::kProgramSize || !stopMap_[address]) return false;

    const machine::ProgramStatement* statement = StatementAt(address);
    if (traceOn_) TraceBefore(address);
    if (statement && observer_) observer_(emulator_, *statement);
    PauseInfo pause{PauseReason::Breakpoint, address, statement};
    if (rule_ == Rule::PauseAgain) {  // put back by StepBack: already the latest kept
        pause.reason = PauseReason::StepBack;
    } else if (statement && maxStops_ > 0) {
        if (history_.size() == maxStops_) DropOldestStop();
        history_.push_back(CaptureState());
    }
    if (statement && pause.reason != PauseReason::StepBack) pause.changedOperand = ChangedWatch();
    if (pause.reason != PauseReason::StepBack && !BreakpointStops(address)) {
        if (pause.changedOperand >= 0) {
            pause.reason = PauseReason::DataChange;
        } else {
            if (!RuleStopsAt(address)) return false;
            pause.reason = rule_ == Rule::RunTo ? PauseReason::RunTo : PauseReason::Step;
        }
    }
    SetRule(Rule::None);
    if (onPause) onPause(emulator_, pause);
    return true;
}

}  // namespace zr::emulator

namespace zr::emulator {

void Debugger::KeepHistory(std::size_t maxStops) {
    maxStops_ = maxStops;
    while (history_.size() > maxStops_) DropOldestStop();
    emulator_.KeepSerialLines(maxStops_ > 0);
    Rearm();
}

void Debugger::DropOldestStop() {
    history_.pop_front();
    if (!history_.empty()) emulator_.ForgetSerialLinesBefore(history_.front().serialLinesRead);
}

bool Debugger::StepBack() {
    if (history_.size() < 2) return false;
    history_.pop_back();
    RestoreState(history_.back());
    SetRule(Rule::PauseAgain);
    return true;
}

DeviceState Debugger::CaptureState() const {
    return CaptureDeviceState(emulator_);
}

void Debugger::RestoreState(const DeviceState& state) {
    RestoreDeviceState(emulator_, state);
    NoteWatchedValues();  // a state put back is no change of its own
}

}  // namespace zr::emulator
