#include "shell/debugger/call_stack.h"

#include <algorithm>

#include "machine/listing.h"
#include "machine/opcodes.h"

namespace zr::shell {
namespace {

bool IsCallingInstruction(std::uint8_t opcode) {
    if (machine::IsJump(opcode)) {
        const machine::JumpKind kind = machine::JumpKindOf(opcode);
        return kind == machine::JumpKind::Call || kind == machine::JumpKind::CallIf;
    }
    return opcode == machine::kOnX || opcode == machine::kSegm;
}

// Whether an instruction of the statement at `from` ends right before
// `returnAddress` and calls.
bool CallEndsAt(const machine::ProgramImage& image, int from, int returnAddress) {
    for (int at = from; at >= 1 && at < returnAddress;) {
        const machine::DecodedInstruction instruction = machine::DecodeInstruction(image, at);
        if (instruction.bytes.empty()) return false;
        const int next = at + static_cast<int>(instruction.bytes.size());
        if (next == returnAddress) return IsCallingInstruction(instruction.bytes.front());
        at = next;
    }
    return false;
}

}  // namespace

std::vector<CallStackEntry> CallStackOf(const emulator::MachineState& machine,
                                        const machine::StatementTable& statements) {
    std::vector<CallStackEntry> entries;
    const int top = std::clamp(machine.returnPointer, 1, emulator::kReturnStackSize);
    for (int level = top; level >= 1; --level) {
        const int address = machine.returnStack[level];
        CallStackEntry entry;
        entry.address = address;
        if (level == top) {
            entry.statement = statements.IndexContaining(address);
        } else {
            const int caller = statements.IndexContaining(address - 1);
            const bool call = caller >= 0 &&
                              CallEndsAt(machine.programImage, statements[caller].address, address);
            entry.kind = call ? CallStackEntry::Kind::Call : CallStackEntry::Kind::Event;
            entry.statement = call ? caller : statements.IndexContaining(address);
        }
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace zr::shell
