// The trace hook: before each instruction while tracing is on, the stack
// list; at the first instruction of a statement, a stop until the step.
#include <string>

#include "emulator/emulator.h"
#include "emulator/number_text.h"

namespace zr::emulator {

void Emulator::SetStatementMap(std::shared_ptr<const machine::StatementTable> statements) {
    statements_ = std::move(statements);
}

void Emulator::TraceStep() {
    const MachineState& m = machine;
    std::vector<std::string> stackLines;
    for (int slot = m.stackPointer; slot >= 1; --slot)
        stackLines.push_back(FormatTraceNumber(m.valueStack[slot]));
    host_.TraceStack(stackLines);

    // The instruction about to run is at the counter less 1.
    const int index = statements_ ? statements_->IndexAt(m.ProgramCounter() - 1) : -1;
    if (index < 0) return;
    TraceStop stop;
    stop.statementIndex = index;
    stop.line = std::to_string(m.ProgramCounter()) + ": " + (*statements_)[index].word + "  (" +
                FormatTraceNumber(static_cast<float>(stackLines.size() - 1)) + ")";
    host_.StatementReached(*this, stop);

    stepGranted = false;
    PumpHost();
    while (!stepGranted && traceOn && !endRequested) {
        host_.WaitForEvent(*this, WaitReason::TraceStep);
        PumpHost();
    }
}

}  // namespace zr::emulator
