// The run loop's fast lane. Between two full passes, most instructions need
// none of the pass's checks: no key is waiting, no restart or end is asked
// for, the strobes are high, no segment ends, no event is due and the trace
// is off. While that holds, and the next instruction is one that cannot
// change any of it, instructions run here back to back, with only the checks
// that can still fire: the host's pending flag, the end of memory, counter 0
// and the checkpoint. Anything else hands the next instruction back to the
// full pass.
#include <array>

#include "emulator/emulator.h"
#include "machine/opcodes.h"

namespace zr::emulator {
namespace {

using namespace machine;

// Instructions that neither talk to the host nor touch the display, the keys,
// the event flags, the segment or the run state (other than by faulting). A
// pin change by a variable access ends the fast lane through PinChanged.
constexpr std::array<bool, 256> MakeQuietTable() {
    std::array<bool, 256> quiet{};
    for (int op = kNop; op <= kAdd; ++op) quiet[op] = true;
    for (int op = kE; op <= kPeek2; ++op) quiet[op] = true;
    for (int op = kRol; op <= kPoke2; ++op) quiet[op] = true;
    for (int op = kiM; op <= kStoreElement; ++op) quiet[op] = true;
    for (int op : {kDrop, kDup, kDupN, kRet, kRetIf, kPushByte, kPushInt, kPushSingle, kOnX, kRetN,
                   kSwapN, kOver, kLoop, kSkipIfZero, kHex16, kHex10})
        quiet[op] = true;
    for (int op = kFirstJumpOpcode; op <= 0xFF; ++op) quiet[op] = true;
    return quiet;
}

constexpr std::array<bool, 256> kQuietOpcodes = MakeQuietTable();

}  // namespace

// What the full pass has just made true, checked again so that the fast lane
// never starts in a state the pass would have acted on.
bool Emulator::QuietOnEntry() const {
    const MachineState& m = machine;
    if (!quietRunEnabled_ || m.runState != kRunning || endRequested || pendingRestart_ || traceOn)
        return false;
    if (m.segmentEnd != 0) return false;
    if ((m.eventFlags & (kEventTimerPending | kEventProgramPending)) &&
        !(m.eventFlags & kEventsHeld))
        return false;
    if (!(m.eventFlags & kEventKeysToProgram) && keyRegister != kNoKey) return false;
    return io.pins[kPinWE] == 1 && io.pins[kPinCE] == 1;
}

// Stops one instruction short of the checkpoint, so the pass that reaches it
// calls the host as usual.
void Emulator::RunQuietly() {
    MachineState& m = machine;
    // The opcode first: a program of display or key instructions pays only this.
    // (The mask keeps the peek inside the image; the loop checks the counter.)
    if (!kQuietOpcodes[m.programImage[m.ProgramCounter() & 0x3FF]]) return;
    if (!QuietOnEntry() || checkpointAt_ - instructionCount_ < 2) return;
    quietLimit_ = checkpointAt_ - 1;
    try {
        while (instructionCount_ < quietLimit_ && !host_.HasPending()) {
            // Counter 0 goes back to the pass too: with no segment, SegmentEnd 0
            // matches it and the pass returns from the current call level.
            const int pc = m.ProgramCounter();
            if (static_cast<unsigned>(pc - 1) >= kProgramSize - 1u) return;
            const std::uint8_t op = m.programImage[pc];
            if (!kQuietOpcodes[op]) return;
            m.SetProgramCounter(pc + 1);
            Execute(op);
            ++instructionCount_;
        }
    } catch (const RunFault& fault) {
        m.runState = fault.code;
        ++instructionCount_;  // a faulting instruction counts, as in the full pass
    }
}

}  // namespace zr::emulator
