// The trace, a rule of the debugger's stops: while it is on, every
// instruction is preceded by the stack list, and the first instruction of a
// statement by a stop that waits for the step.
#include <string>

#include "emulator/debugger.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"

namespace zr::emulator {

void Debugger::SetTraceOn(bool on) {
    traceOn_ = on;
    if (!on) emulator_.GrantStep();  // a waiting step is released
    Rearm();
}

// The stop's line gives the counter as the device has it then, already past
// the instruction byte: "PC: WORD  ( N)", N the stack entries less one.
void Debugger::TraceBefore(int address) {
    const MachineState& m = emulator_.machine;
    std::vector<std::string> stackLines;
    for (int slot = m.stackPointer; slot >= 1; --slot)
        stackLines.push_back(FormatTraceNumber(m.valueStack[slot]));
    emulator_.ShowTraceStack(stackLines);
    const int index = statements_->IndexAt(address);
    if (index < 0) return;
    TraceStop stop;
    stop.statementIndex = index;
    stop.line = std::to_string(address + 1) + ": " + (*statements_)[index].word + "  (" +
                FormatTraceNumber(static_cast<float>(stackLines.size() - 1)) + ")";
    emulator_.WaitAtTraceStop(stop);
}

void Emulator::WaitAtTraceStop(const TraceStop& stop) {
    host_.StatementReached(*this, stop);
    stepGranted = false;
    PumpHost();
    while (!stepGranted && !endRequested) {
        host_.WaitForEvent(*this, WaitReason::TraceStep);
        PumpHost();
    }
}

}  // namespace zr::emulator
