// The instruction dispatch, inlined into the run loop: one handler per
// opcode. The frequent instructions work on the registers the loop keeps in
// locals (program counter, stack pointer); arithmetic and comparisons write
// their result over Y in place. Everything else stores the registers, runs
// out of line in its group and loads them again.
//
// The order of effects is the device's: operands are fetched and values
// popped before a fault is raised, so a fault leaves the registers where the
// device leaves them (the caller stores them when it catches the fault).
#pragma once

#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "emulator/run_class.h"
#include "machine/opcodes.h"

#if defined(__GNUC__)
#define ZR_ALWAYS_INLINE [[gnu::always_inline]]
#else
#define ZR_ALWAYS_INLINE
#endif

namespace zr::emulator {

// Slots 1..16 of the ring: one up and one down from slot s.
constexpr int SlotAbove(int s) {
    return (s & 15) + 1;
}
constexpr int SlotBelow(int s) {
    return ((s - 2) & 15) + 1;
}

ZR_ALWAYS_INLINE inline Emulator::Registers Emulator::LoadRegisters() {
    const std::uint64_t left =
        checkpointAt_ > instructionCount_ ? checkpointAt_ - instructionCount_ : 1;
    countAtZero_ = instructionCount_ + left;
    return {machine.ProgramCounter(), machine.stackPointer, left};
}

ZR_ALWAYS_INLINE inline void Emulator::StoreRegisters(const Registers& r) {
    machine.SetProgramCounter(r.pc);
    machine.stackPointer = r.sp;
    instructionCount_ = countAtZero_ - r.left;
}

ZR_ALWAYS_INLINE inline std::uint8_t Emulator::FetchByte(Registers& r) {
    // One unsigned compare covers negative counters and those past the image.
    if (static_cast<unsigned>(r.pc) > machine::kProgramSize) throw RunFault{kErrorAddressRange};
    return machine.programImage[r.pc++];
}

ZR_ALWAYS_INLINE inline int Emulator::FetchWord(Registers& r) {
    const int high = FetchByte(r);
    const int low = FetchByte(r);
    const int magnitude = (high & 0x7F) * 256 + low;
    return (high & 0x80) ? -magnitude : magnitude;
}

ZR_ALWAYS_INLINE inline void Emulator::Push(Registers& r, float value) {
    machine.lastX = machine.valueStack[r.sp];
    r.sp = SlotAbove(r.sp);
    machine.valueStack[r.sp] = value;
}

ZR_ALWAYS_INLINE inline float Emulator::Pop(Registers& r) {
    const float value = machine.valueStack[r.sp];
    r.sp = SlotBelow(r.sp);
    return value;
}

// Singles and Integers here; RX, Bytes, the stack pointer and the hardware
// out of line, which may look at the stack pointer and call the host.
ZR_ALWAYS_INLINE inline float Emulator::ReadVariable(Registers& r, std::uint8_t operand) {
    if (operand - 1u < machine::kSingleCount) return machine.singles[operand];
    if (operand - (machine::kIntegerOperandBase + 1u) < machine::kIntegerCount)
        return machine.integers[operand - machine::kIntegerOperandBase];
    StoreRegisters(r);
    return ReadOtherVariable(operand);
}

ZR_ALWAYS_INLINE inline void Emulator::WriteVariable(Registers& r, std::uint8_t operand,
                                                     float value) {
    if (operand - 1u < machine::kSingleCount) {
        machine.singles[operand] = CheckedFloat(value);
    } else if (operand - (machine::kIntegerOperandBase + 1u) < machine::kIntegerCount) {
        machine.integers[operand - machine::kIntegerOperandBase] = ToInt16(value);
    } else {
        // A write to the stack pointer's name moves it; nothing here faults after a change.
        StoreRegisters(r);
        WriteOtherVariable(operand, value);
        r.sp = machine.stackPointer;
    }
}

// PopPair, the operation, then the push, done over Y: X goes to the result
// register and Y to the operand register; the result replaces Y and the
// slot below Y becomes LastX. A fault leaves the pair popped.
template <typename Operation>
ZR_ALWAYS_INLINE inline void Emulator::Binary(Registers& r, Operation operation) {
    auto& slots = machine.valueStack;
    const int ySlot = SlotBelow(r.sp);
    const int zSlot = SlotBelow(ySlot);
    const float x = slots[r.sp];
    const float y = slots[ySlot];
    machine.resultRegister = x;
    machine.operandRegister = y;
    r.sp = zSlot;
    const float result = CheckedFloat(operation(static_cast<double>(y), static_cast<double>(x)));
    machine.resultRegister = result;
    machine.lastX = slots[zSlot];
    slots[ySlot] = result;
    r.sp = ySlot;
}

// Incr and Decr over X: X goes to the operand register, the slot below
// becomes LastX.
ZR_ALWAYS_INLINE inline void Emulator::AddToX(Registers& r, double amount) {
    auto& slots = machine.valueStack;
    const int xSlot = r.sp;
    const int below = SlotBelow(xSlot);
    const float x = slots[xSlot];
    machine.operandRegister = x;
    r.sp = below;
    const float result = CheckedFloat(x + amount);
    machine.resultRegister = result;
    machine.lastX = slots[below];
    slots[xSlot] = result;
    r.sp = xSlot;
}

// The caller's counter, already past the calling instruction, stays in its
// entry; the new top entry is the program counter.
ZR_ALWAYS_INLINE inline void Emulator::Call(Registers& r, int target) {
    if (machine.returnPointer == kReturnStackSize) throw RunFault{kErrorDivideOrCallDepth};
    machine.SetProgramCounter(r.pc);
    ++machine.returnPointer;
    r.pc = target;
}

// The entry left behind keeps the counter it ended with: RetN can move the
// return pointer back up over it.
ZR_ALWAYS_INLINE inline void Emulator::Return(Registers& r) {
    if (machine.returnPointer == 1) throw RunFault{kErrorSqrtOrReturn};
    machine.SetProgramCounter(r.pc);
    --machine.returnPointer;
    r.pc = machine.ProgramCounter();
}

// The jump family, 8A-FF.
ZR_ALWAYS_INLINE inline void Emulator::Jump(std::uint8_t op, Registers& r) {
    using machine::AddressMode;
    using machine::JumpKind;
    int target = 0;
    switch (machine::AddressModeOf(op)) {
        case AddressMode::Short: {
            const int offset = FetchByte(r);
            target = offset - 129 + r.pc;
            if (target < 0 || target > machine::kProgramSize) throw RunFault{kErrorJumpTarget};
            break;
        }
        case AddressMode::Absolute:
            target = FetchWord(r);  // used unchanged: a bad one faults at the next fetch
            break;
        case AddressMode::FromX: {
            const float v = Pop(r);
            if (!(v >= 0 && v <= 255)) throw RunFault{kErrorJumpVariable};
            target = ComputedTarget(ReadVariable(r, ToByte(v)));
            break;
        }
        case AddressMode::FromVariable:
            target = ComputedTarget(ReadVariable(r, FetchByte(r)));
            break;
    }
    switch (machine::JumpKindOf(op)) {
        case JumpKind::Call:
            Call(r, target);
            return;
        case JumpKind::GoTo:
            r.pc = target;
            return;
        case JumpKind::CallIf:
            if (Pop(r) != 0) Call(r, target);
            return;
        case JumpKind::GoToIf:
            if (Pop(r) != 0) r.pc = target;
            return;
    }
}

// One handler per opcode of machine/opcodes.def: the frequent ones below
// work on the registers, every other one runs out of line.
template <std::uint8_t Op>
ZR_ALWAYS_INLINE inline void Emulator::Instruction(Registers& r) {
    r = OutOfLine(Op, r);
}

#define ZR_INSTRUCTION(op) \
    template <>            \
    ZR_ALWAYS_INLINE inline void Emulator::Instruction<machine::op>(Registers & r)

ZR_INSTRUCTION(kNop) {}
ZR_INSTRUCTION(kiM) {
    Push(r, ReadVariable(r, FetchByte(r)));
}
ZR_INSTRUCTION(kMv) {
    const std::uint8_t v = FetchByte(r);
    WriteVariable(r, v, Pop(r));
}
ZR_INSTRUCTION(kPushByte) {
    Push(r, FetchByte(r));
}
ZR_INSTRUCTION(kPushInt) {
    Push(r, static_cast<float>(FetchWord(r)));
}
ZR_INSTRUCTION(kSubtract) {
    Binary(r, [](double y, double x) { return y - x; });
}
ZR_INSTRUCTION(kMultiply) {
    Binary(r, [](double y, double x) { return y * x; });
}
ZR_INSTRUCTION(kDivide) {
    Binary(r, [](double y, double x) {
        if (x == 0) throw RunFault{kErrorDivideOrCallDepth};
        return y / x;
    });
}
ZR_INSTRUCTION(kAdd) {
    Binary(r, [](double y, double x) { return y + x; });
}
ZR_INSTRUCTION(kLess) {
    Binary(r, [](double y, double x) { return Truth(y < x); });
}
ZR_INSTRUCTION(kLessEqual) {
    Binary(r, [](double y, double x) { return Truth(y <= x); });
}
ZR_INSTRUCTION(kEqual) {
    Binary(r, [](double y, double x) { return Truth(y == x); });
}
ZR_INSTRUCTION(kNotEqual) {
    Binary(r, [](double y, double x) { return Truth(y != x); });
}
ZR_INSTRUCTION(kGreater) {
    Binary(r, [](double y, double x) { return Truth(y > x); });
}
ZR_INSTRUCTION(kGreaterEqual) {
    Binary(r, [](double y, double x) { return Truth(y >= x); });
}
ZR_INSTRUCTION(kIncr) {
    AddToX(r, 1);
}
ZR_INSTRUCTION(kDecr) {
    AddToX(r, -1);
}
ZR_INSTRUCTION(kDup) {
    Push(r, machine.valueStack[r.sp]);
}
ZR_INSTRUCTION(kDrop) {
    Pop(r);
}
ZR_INSTRUCTION(kRet) {
    Return(r);
}
ZR_INSTRUCTION(kRetIf) {
    if (Pop(r) != 0) Return(r);
}

#undef ZR_INSTRUCTION

// The switch is generated from the opcode table, so the compiler builds one
// jump table over all 256 values; the jump family fills 8A-FF.
ZR_ALWAYS_INLINE inline void Emulator::Dispatch(std::uint8_t op, Registers& r) {
    switch (op) {
#define OPCODE(value, id, name, word, operands, effect) \
    case value:                                         \
        Instruction<value>(r);                          \
        return;
#include "machine/opcodes.def"
#undef OPCODE
        default:
            if (op >= machine::kFirstJumpOpcode) {
                Jump(op, r);
            } else {
                r = OutOfLine(op, r);  // unassigned: faults
            }
    }
}

}  // namespace zr::emulator
