// The trace hook: before each instruction while tracing is on, the stack
// list; at the first instruction of a statement, a stop until the step.
#include <string>

#include "emulator/emulator.h"
#include "emulator/number_text.h"

namespace zr::emulator {

void Emulator::SetStatementMap(std::vector<TraceStatement> statements) {
    statements_ = std::move(statements);
    statementAt_.assign(machine::kProgramSize + 1, 0);
    for (std::size_t i = 0; i < statements_.size(); ++i) {
        const int address = statements_[i].address;
        // Declarations, labels and THEN write no bytes and share the address
        // of the statement after them: the last record of an address is the
        // statement whose instruction is there.
        if (address >= 0 && address <= machine::kProgramSize)
            statementAt_[address] = static_cast<int>(i) + 1;
    }
}

void Emulator::TraceStep() {
    const MachineState& m = machine;
    std::vector<std::string> stackLines;
    for (int slot = m.stackPointer; slot >= 1; --slot)
        stackLines.push_back(FormatTraceNumber(m.valueStack[slot]));
    host_.TraceStack(stackLines);

    const int address = m.ProgramCounter() - 1;  // of the instruction about to run
    if (address < 0 || address >= static_cast<int>(statementAt_.size()) ||
        statementAt_[address] == 0)
        return;
    TraceStop stop;
    stop.statementIndex = statementAt_[address] - 1;
    stop.line = std::to_string(m.ProgramCounter()) + ": " + statements_[stop.statementIndex].word +
                "  (" + FormatTraceNumber(static_cast<float>(stackLines.size() - 1)) + ")";
    host_.StatementReached(*this, stop);

    stepGranted = false;
    PumpHost();
    while (!stepGranted && traceOn && !endRequested) {
        host_.WaitForEvent(*this, WaitReason::TraceStep);
        PumpHost();
    }
}

}  // namespace zr::emulator
