// The device's firmware loop: greeting, start-address prompt, the running
// passes (stop key, segments, fetch and execute, events) and error reports.
#include <algorithm>
#include <string>

#include "emulator/conversions.h"
#include "emulator/debugger.h"
#include "emulator/dispatch.h"
#include "emulator/emulator.h"
#include "emulator/fused_statements.h"
#include "emulator/fused_units.h"
#include "emulator/unit_kinds.h"

namespace zr::emulator {

Emulator::Emulator(Host& host) : host_(host) {
    host_.ConnectAttention(&attention_);
}

Emulator::~Emulator() {
    host_.ConnectAttention(nullptr);
}

void Emulator::LoadProgram(const machine::ProgramImage& image) {
    WriteProgram(1, std::span(image).subspan(1));
}

void Emulator::WriteProgram(int address, std::uint8_t value) {
    machine.programImage.Set(address, value);
    // The entries whose bytes cover the cell.
    for (int a = std::max(0, address - kMaxDecodedLength + 1); a <= address; ++a)
        decoded_[a].kind = kUndecoded;
}

void Emulator::ForgetDecoded() {
    decoded_.fill(Decoded{});
    decodedStamp_ = machine.programImage.stamp();
}

// Points each value of a new entry at its cell, or at the entry's own
// constant.
void Emulator::BindPlaces(Decoded& d) {
    for (Source* source : {&d.first, &d.second, &d.third, &d.store}) {
        switch (source->area) {
            case Source::Constant:
                source->place = &source->value;
                break;
            case Source::Single:
                source->place = &machine.singles[source->index];
                break;
            case Source::Integer:
                source->place = &machine.integers[source->index];
                break;
        }
    }
}

void Emulator::WriteProgram(int address, std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t value : bytes) WriteProgram(address++, value);
}

void Emulator::ClearSinglesAndIntegers() {
    machine.singles.fill(0);
    machine.integers.fill(0);
}

void Emulator::RunLoop() {
    MachineState& m = machine;
    m.returnPointer = 1;
    m.SetProgramCounter(1);
    m.stackPointer = 1;
    m.valueStack[1] = 0;
    m.runState = kStopped;
    pendingRestart_ = false;
    ClearDisplay();
    LocateCursor(1, 1);
    PrintText(kGreetingLine1);
    LocateCursor(2, 1);
    PrintText(kGreetingLine2);
    WaitKey();
    ResumeLoop();
}

void Emulator::ResumeLoop() {
    MachineState& m = machine;
    while (!endRequested) {
        if (pendingRestart_) ApplyPendingRestart();
        SetPin(kPinWE, 1);
        SetPin(kPinCE, 1);
        if (m.runState == kRunning) {
            RunningPass();
        } else if (m.runState == kStopped) {
            int address = 1;
            if (!(m.eventFlags & kEventAutoStart)) {
                const float entered = PromptNumber(kAddressPrompt, kNoCode);
                if (endRequested) return;
                if (entered < 0 || entered > machine::kProgramSize) continue;  // ask again
                address = entered == 0 ? 1 : ToInt16(entered);
            }
            // Commands given at the prompt act at once; the address entered wins.
            if (pendingRestart_) ApplyPendingRestart();
            ClearDisplay();
            StartAt(address);
        } else {
            ReportError();
        }
    }
}

void Emulator::StartAt(int address) {
    machine.returnPointer = 1;
    machine.SetProgramCounter(address);
    machine.stackPointer = 1;
    machine.runState = kRunning;
}

// "Error 37 in 412" over line 1, until a key is pressed. With the silent
// errors flag the run just stops.
void Emulator::ReportError() {
    MachineState& m = machine;
    const int code = m.runState;
    host_.RunErrorReported(*this, code, m.ProgramCounter());
    if (m.eventFlags & kEventSilentErrors) {
        m.runState = kStopped;
        host_.ProgramStopped(*this);
        return;
    }
    LocateCursor(1, 1);
    PrintText("Error " + std::to_string(code) + " in " + std::to_string(m.ProgramCounter()));
    WaitKey();
    if (endRequested) return;  // the code stays in RunState for whoever ended the run
    m.runState = kStopped;
}

// The loop while the program runs; returns when the run state changes or
// the end is requested. Instructions run back to back; whenever the
// attention flag is up, the firmware's checks run between two of them.
void Emulator::RunningPass() {
    RequestAttention();
    if (!Attend(false)) return;
    for (;;) {
        if (stopMap_)
            RunInstructions<true>();
        else
            RunInstructions<false>();
        if (!Attend(true)) return;
    }
}

// Runs instructions until the attention flag is raised, the checkpoint is
// reached or the counter leaves 1..1023 (0 may end a segment, 1024 ends the
// run), or, Watched, before an address the debugger's stop map marks; at
// least one. The registers live in locals meanwhile. Where the
// compiler takes the address of a label, every handler ends in its own copy
// of the step to the next instruction (one indirect jump each, which the
// processor predicts per handler), and the step goes through the
// predecoded entry of the address (emulator/predecoded.h): a decoded form
// runs from the entry, any other kind is the opcode, run from memory;
// elsewhere one switch dispatches from memory.
template <bool Watched>
void Emulator::RunInstructions() {
    MachineState& m = machine;
    CheckDecodedStamp();
    Registers r;
    LoadRegisters(r);
    [[maybe_unused]] const std::uint8_t* const stopMap = stopMap_;
    // Watched, the stop map's one test covers the counter's range as well.
#define ZR_MAY_GO_ON                                       \
    (!attention_.load(std::memory_order_relaxed) &&        \
     (Watched ? !stopMap[static_cast<std::uint16_t>(r.pc)] \
              : static_cast<std::uintptr_t>(r.pc - 1) < machine::kProgramSize - 1u))
#define ZR_GO_ON (--r.left != 0 && ZR_MAY_GO_ON)
    try {
#if ZR_THREADED_DISPATCH
#define ZR_LABEL_ADDRESS(value) &&op_##value,
// NOLINTNEXTLINE(bugprone-macro-parentheses): a label's address takes none
#define ZR_UNIT_LABEL(label, call, step) &&label,
#define ZR_GIVE_UP_LABEL(label, call, step) &&giveUp,
#define ZR_SINGLE_LABELS                                                                     \
    ZR_ALL_OPCODES(ZR_LABEL_ADDRESS)                                                         \
    &&undecoded, &&pushConstant, &&loadSingle, &&loadInteger, &&storeSingle, &&storeInteger, \
        &&goTo, &&goToIf, &&call, &&callIf, &&skip, &&decodedLoop,
        // One label per kind, in the order of the kinds. Watched, every unit
        // gives up, so that loop has none of their code.
        const void* const* kHandlers;
        if constexpr (Watched) {
            static const void* const kWatched[] = {
                ZR_SINGLE_LABELS ZR_UNIT_KINDS(ZR_GIVE_UP_LABEL)};
            static_assert(std::size(kWatched) == 256 + kDecodedKinds);
            kHandlers = kWatched;
        } else {
            static const void* const kPlain[] = {ZR_SINGLE_LABELS ZR_UNIT_KINDS(ZR_UNIT_LABEL)};
            static_assert(std::size(kPlain) == 256 + kDecodedKinds);
            kHandlers = kPlain;
        }
        static_assert(kDecodedLoop == kSkip + 1 && kElementLoad == kDecodedLoop + 1 &&
                      kElementStore == kElementLoad + 2 && kZeroCompareSkip == kElementStore + 2 &&
                      kZeroCompares == 6 && kBump == kZeroCompareSkip + kZeroCompares &&
                      kFusedOperate == kBump + kIntegerChoices && kFusedShapes == 8 &&
                      kFusedOperations == 11 && kIntegerChoices == 4 && kChainTails == 4);
#undef ZR_LABEL_ADDRESS
#undef ZR_UNIT_LABEL
#undef ZR_GIVE_UP_LABEL
#undef ZR_SINGLE_LABELS
        // The entry of the instruction running, its counter already past the opcode.
        const Decoded* d;
#define ZR_NEXT            \
    d = &decoded_[r.pc++]; \
    goto* kHandlers[d->kind];
#define ZR_END_UNIT           \
    if (!ZR_GO_ON) goto done; \
    ZR_NEXT
// After a unit that has counted itself and may have jumped.
#define ZR_CONTINUE               \
    if (!ZR_MAY_GO_ON) goto done; \
    ZR_NEXT
// After an instruction that only moves the counter past itself and raises
// no attention: the next entry is in 2..1024, and 1024's is never decoded.
#define ZR_END_FORWARD                       \
    if (--r.left == 0) goto done;            \
    if (Watched && stopMap[r.pc]) goto done; \
    ZR_NEXT
        ZR_NEXT
#define ZR_HANDLER(value)                     \
    op_##value : ZR_ASSUME_PAST_OPCODE(r.pc); \
    Instruction<value>(r);                    \
    if constexpr (MovesOnlyForward(value)) {  \
        ZR_END_FORWARD                        \
    } else {                                  \
        ZR_END_UNIT                           \
    }
        ZR_ALL_OPCODES(ZR_HANDLER)
#undef ZR_HANDLER
    undecoded:
        if (--r.pc == machine::kProgramSize) goto done;
        decoded_[r.pc] = DecodeAt(m.programImage, static_cast<int>(r.pc));
        BindPlaces(decoded_[r.pc]);
        ZR_NEXT
    pushConstant:
        r.pc += d->length - 1;
        Push(r, d->value);
        ZR_END_FORWARD
    loadSingle:
        ++r.pc;
        Push(r, m.singles[d->index]);
        ZR_END_FORWARD
    loadInteger:
        ++r.pc;
        Push(r, m.integers[d->index]);
        ZR_END_FORWARD
    storeSingle:
        ++r.pc;
        {
            const float value = Pop(r);
            m.singles[d->index] = Checked(r, value);
        }
        ZR_END_FORWARD
    storeInteger:
        ++r.pc;
        {
            const float value = Pop(r);
            m.integers[d->index] = CheckedInt16(r, value);
        }
        ZR_END_FORWARD
    goTo:
        r.pc = d->target;
        ZR_END_UNIT
    goToIf:
        r.pc += d->length - 1;
        if (Pop(r) != 0) r.pc = d->target;
        ZR_END_UNIT
    call:
        r.pc += d->length - 1;
        Call(r, d->target);
        ZR_END_UNIT
    callIf:
        r.pc += d->length - 1;
        if (Pop(r) != 0) Call(r, d->target);
        ZR_END_UNIT
    skip:
        ++r.pc;
        if (Pop(r) == 0) r.pc += d->target;
        ZR_END_UNIT
    decodedLoop:
        if (!RunDecodedLoop(r, *d)) goto* kHandlers[machine::kLoop];
        ZR_END_UNIT
// Watched, no unit is in the table (its label stays unused) and its code is
// never made.
#define ZR_UNIT_HANDLER(label, call, step) \
    label:                                 \
    __attribute__((unused));               \
    if constexpr (!Watched) {              \
        if ((call)) {                      \
            step                           \
        }                                  \
    }                                      \
    goto giveUp;
        ZR_UNIT_KINDS(ZR_UNIT_HANDLER)
#undef ZR_UNIT_HANDLER
    // A unit that gives up runs its first instruction from memory.
    giveUp:
        goto* kHandlers[m.programImage[r.pc - 1]];
#undef ZR_END_UNIT
#undef ZR_CONTINUE
#undef ZR_END_FORWARD
#undef ZR_NEXT
#else
        do {
            const std::uint8_t op = m.programImage[r.pc++];
            ZR_ASSUME_PAST_OPCODE(r.pc);
            Dispatch(op, r);
        } while (ZR_GO_ON);
#endif
    } catch (const RunFault& fault) {
        // The fault has stored the registers; a faulting instruction counts.
        ++DeviceState::instructionCount;
        m.runState = fault.code;
        return;
    }
#if ZR_THREADED_DISPATCH
done:
#endif
    StoreRegisters(r);
#undef ZR_GO_ON
#undef ZR_MAY_GO_ON
}

// The firmware's checks between two instructions: after the previous one
// the checkpoint, due events and the run state; before the next one the end,
// a restart, the strobes, the end of memory, the stop key and the segment
// end. Runs the next instruction here when the loop cannot: at counter 0
// (with a segment) or below. Returns false when the program
// leaves the running state.
bool Emulator::Attend(bool afterInstruction) {
    MachineState& m = machine;
    try {
        for (;;) {
            // Lowered first: whatever is raised from here on is seen next time.
            attention_.exchange(false);
            if (afterInstruction) {
                if (DeviceState::instructionCount >= checkpointAt_)
                    host_.Checkpoint(*this, DeviceState::instructionCount);
                if ((m.eventFlags & (kEventTimerPending | kEventProgramPending)) &&
                    !(m.eventFlags & kEventsHeld))
                    DispatchEvents();
                if (m.runState != kRunning) {
                    if (m.runState == kStopped) LeftRunning();
                    return false;
                }
            }
            if (endRequested) return false;
            if (pendingRestart_) ApplyPendingRestart();
            // The bus-control pins rest high between instructions.
            SetPin(kPinWE, 1);
            SetPin(kPinCE, 1);
            if (m.ProgramCounter() >= machine::kProgramSize) {
                m.runState = kStopped;
                LeftRunning();
                return false;
            }
            // A key taken here is consumed; a program that wants the keypad sets bit 2.
            if (!(m.eventFlags & kEventKeysToProgram)) {
                if (PollKey() == kCodeLeft) {
                    m.runState = kStopped;
                    LeftRunning();
                    return false;
                }
            } else {
                // The keypad is the program's, but the window's commands (End,
                // Stop, ticks) must still get in to a loop that never prints.
                PumpHost();
            }
            // With no segment, SegmentEnd 0 matches counter 0.
            if (m.segmentEnd == m.ProgramCounter()) {
                m.segmentEnd = 0;
                m.PopReturn();
            }
            if (debugger_ && debugger_->CheckBeforeInstruction()) {
                // Paused before this instruction; the checks run again for
                // whatever happened meanwhile (the end, a restart, keys).
                afterInstruction = false;
                continue;
            }
            const int pc = m.ProgramCounter();
            if (static_cast<unsigned>(pc - 1) < machine::kProgramSize - 1u) {
                if (NeedsAttention()) RequestAttention();
                return true;
            }
            ExecuteInstruction(m.FetchByte());
            ++DeviceState::instructionCount;
            afterInstruction = true;
        }
    } catch (const RunFault& fault) {
        m.runState = fault.code;
        return false;
    }
}

// Whether the checks must run again before the instruction after next.
bool Emulator::NeedsAttention() const {
    const MachineState& m = machine;
    const bool eventsDue = (m.eventFlags & (kEventTimerPending | kEventProgramPending)) &&
                           !(m.eventFlags & kEventsHeld);
    const bool keyWaiting = !(m.eventFlags & kEventKeysToProgram) && keyRegister != kNoKey;
    return endRequested || pendingRestart_ || m.runState != kRunning || m.segmentEnd != 0 ||
           eventsDue || keyWaiting || host_.HasPending() || io.pins[kPinWE] != 1 ||
           io.pins[kPinCE] != 1;
}

// With both pending, the program event routine runs first and returns into
// the timer routine, which returns into the program.
void Emulator::DispatchEvents() {
    MachineState& m = machine;
    if (m.eventFlags & kEventTimerPending) {
        m.eventFlags &= ~kEventTimerPending;
        m.PushReturn(m.timerHandler);
    }
    if (m.eventFlags & kEventProgramPending) {
        m.eventFlags &= ~kEventProgramPending;
        m.PushReturn(m.eventHandler);
    }
}

void Emulator::LeftRunning() {
    host_.ProgramStopped(*this);
}

}  // namespace zr::emulator
