// The instruction dispatch, inlined into the run loop: one handler per
// opcode. The frequent instructions work on the registers the loop keeps in
// locals (program counter, stack pointer); arithmetic and comparisons write
// their result over Y in place. Everything else stores the registers, runs
// out of line in its group and loads them again.
//
// The order of effects is the device's: operands are fetched and values
// popped before a fault is raised, so a fault leaves the registers where the
// device leaves them. Every fault stores the registers before it is thrown
// (Fault), so whoever catches it finds the machine state complete.
#pragma once

#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "emulator/run_class.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

// The run loop jumps through a table of label addresses where the compiler
// has them (GCC, Clang); ZR_NO_THREADED_DISPATCH selects the portable switch.
#if defined(__GNUC__) && !defined(ZR_NO_THREADED_DISPATCH)
#define ZR_THREADED_DISPATCH 1
#else
#define ZR_THREADED_DISPATCH 0
#endif

// Every opcode the run loop fetches lies in 1..1023 (Attend hands over only
// such a counter, and the step to the next instruction tests it), so past the
// opcode the counter is in 2..1024 and the first operand byte needs no range
// check. Only the run loop may say so: Execute and Step run from any counter.
#if defined(__GNUC__)
#define ZR_ASSUME_PAST_OPCODE(pc) \
    if (static_cast<std::uintptr_t>((pc)-2) > machine::kProgramSize - 2u) __builtin_unreachable()
#else
#define ZR_ASSUME_PAST_OPCODE(pc) static_cast<void>(0)
#endif

namespace zr::emulator {

ZR_ALWAYS_INLINE inline void Emulator::LoadRegisters(Registers& r) {
    r.left = checkpointAt_ > DeviceState::instructionCount
                 ? checkpointAt_ - DeviceState::instructionCount
                 : 1;
    // With the attention flag up only one more instruction runs: the steps
    // after the instructions that cannot raise it do not look at it.
    if (attention_.load(std::memory_order_relaxed)) r.left = 1;
    countAtZero_ = DeviceState::instructionCount + r.left;
    r.pc = machine.ProgramCounter();
    r.sp = machine.stackPointer - 1;
}

ZR_ALWAYS_INLINE inline void Emulator::StoreRegisters(const Registers& r) {
    machine.SetProgramCounter(static_cast<int>(r.pc));
    machine.stackPointer = static_cast<int>(r.sp) + 1;
    DeviceState::instructionCount = countAtZero_ - r.left;
}

// The registers go by value, so the compiler can keep them in registers.
ZR_ALWAYS_INLINE inline void Emulator::Fault(const Registers& r, std::uint8_t code) {
    StoreAndThrow(r.pc, r.sp, r.left, code);
}

ZR_ALWAYS_INLINE inline float Emulator::Checked(const Registers& r, double value) {
    const float result = static_cast<float>(value);
    if (!IsFinite(result)) Fault(r, kErrorFloatRange);
    return result;
}

ZR_ALWAYS_INLINE inline std::int16_t Emulator::CheckedInt16(const Registers& r, double value) {
    std::int32_t rounded;
    if (!RoundInto(value, INT16_MIN, INT16_MAX, rounded)) Fault(r, kErrorConversionRange);
    return static_cast<std::int16_t>(rounded);
}

// At the loop's counter register; a fault stores the registers first. The
// fault's lambda is inlined as well: called, it would take the registers'
// address and keep them in memory across the whole loop.
ZR_ALWAYS_INLINE inline std::uint8_t Emulator::FetchByte(Registers& r) {
    return FetchByteAt(machine.programImage, r.pc,
                       [&r, this]() ZR_ALWAYS_INLINE_LAMBDA { Fault(r, kErrorAddressRange); });
}

ZR_ALWAYS_INLINE inline int Emulator::FetchWord(Registers& r) {
    return FetchWordAt(machine.programImage, r.pc,
                       [&r, this]() ZR_ALWAYS_INLINE_LAMBDA { Fault(r, kErrorAddressRange); });
}

ZR_ALWAYS_INLINE inline float& Emulator::Slot(std::intptr_t s) {
    return machine.SlotAt(s);
}

ZR_ALWAYS_INLINE inline void Emulator::Push(Registers& r, float value) {
    machine.PushAt(r.sp, value);
}

ZR_ALWAYS_INLINE inline float Emulator::Pop(Registers& r) {
    return machine.PopAt(r.sp);
}

// Singles and Integers here; RX, Bytes, the stack pointer and the hardware
// out of line, which may look at the stack pointer and call the host.
// Singles and Integers here, by the decoder's own fast tests (a full decode
// inlined here cost the loop 1 to 4 instructions more per access); RX,
// Bytes, the stack pointer and the hardware out of line, where the operand
// is decoded, which may look at the stack pointer and call the host.
ZR_ALWAYS_INLINE inline float Emulator::ReadVariable(Registers& r, std::uint8_t operand) {
    if (machine::NamesSingle(operand)) return machine.singles[operand];
    if (machine::NamesInteger(operand)) return machine.integers[machine::IntegerIndexOf(operand)];
    StoreRegisters(r);
    return ReadOtherVariable(operand);
}

ZR_ALWAYS_INLINE inline void Emulator::WriteVariable(Registers& r, std::uint8_t operand,
                                                     float value) {
    if (machine::NamesSingle(operand)) {
        machine.singles[operand] = Checked(r, value);
    } else if (machine::NamesInteger(operand)) {
        machine.integers[machine::IntegerIndexOf(operand)] = CheckedInt16(r, value);
    } else {
        // A write to the stack pointer's name moves it; nothing here faults after a change.
        StoreRegisters(r);
        WriteOtherVariable(operand, value);
        r.sp = machine.stackPointer - 1;
    }
}

// PopPair, the operation, then the push, done over Y: X goes to the result
// register and Y to the operand register; the result replaces Y and the
// slot below Y becomes LastX. A fault (a zero divisor when the operation
// divides) leaves the pair popped.
template <bool Divides, typename Operation>
ZR_ALWAYS_INLINE inline void Emulator::Binary(Registers& r, Operation operation) {
    const std::intptr_t ySlot = SlotBelow(r.sp);
    const std::intptr_t zSlot = SlotBelow(ySlot);
    const float x = Slot(r.sp);
    const float y = Slot(ySlot);
    machine.operandRegister = y;
    r.sp = zSlot;
    // A fault leaves X in the result register; otherwise the result goes there.
    if (Divides && x == 0) {
        machine.resultRegister = x;
        Fault(r, kErrorDivideOrCallDepth);
    }
    const float result =
        static_cast<float>(operation(static_cast<double>(y), static_cast<double>(x)));
    if (!IsFinite(result)) {
        machine.resultRegister = x;
        Fault(r, kErrorFloatRange);
    }
    machine.resultRegister = result;
    machine.lastX = Slot(zSlot);
    Slot(ySlot) = result;
    r.sp = ySlot;
}

// Incr and Decr over X: X goes to the operand register, the slot below
// becomes LastX.
ZR_ALWAYS_INLINE inline void Emulator::AddToX(Registers& r, double amount) {
    const std::intptr_t xSlot = r.sp;
    const std::intptr_t below = SlotBelow(xSlot);
    const float x = Slot(xSlot);
    machine.operandRegister = x;
    r.sp = below;
    const float result = Checked(r, x + amount);
    machine.resultRegister = result;
    machine.lastX = Slot(below);
    Slot(xSlot) = result;
    r.sp = xSlot;
}

// The caller's counter, already past the calling instruction, stays in its
// entry; the new top entry is the program counter.
ZR_ALWAYS_INLINE inline void Emulator::Call(Registers& r, std::intptr_t target) {
    if (machine.returnPointer == kReturnStackSize) Fault(r, kErrorDivideOrCallDepth);
    machine.SetProgramCounter(static_cast<int>(r.pc));
    ++machine.returnPointer;
    r.pc = target;
}

// The entry left behind keeps the counter it ended with: RetN can move the
// return pointer back up over it.
ZR_ALWAYS_INLINE inline void Emulator::Return(Registers& r) {
    if (machine.returnPointer == 1) Fault(r, kErrorSqrtOrReturn);
    machine.SetProgramCounter(static_cast<int>(r.pc));
    --machine.returnPointer;
    r.pc = machine.ProgramCounter();
}

// A target computed at run time (address modes 2 and 3) must lie in 0..1024.
ZR_ALWAYS_INLINE inline int Emulator::Target(const Registers& r, double value) {
    if (!(value >= 0 && value <= machine::kProgramSize)) Fault(r, kErrorJumpTarget);
    return CheckedInt16(r, value);
}

// The jump family, 8A-FF.
ZR_ALWAYS_INLINE inline void Emulator::Jump(std::uint8_t op, Registers& r) {
    using machine::AddressMode;
    using machine::JumpKind;
    std::intptr_t target = 0;
    switch (machine::AddressModeOf(op)) {
        case AddressMode::Short: {
            const int offset = FetchByte(r);
            target = offset - 129 + r.pc;
            if (target < 0 || target > machine::kProgramSize) Fault(r, kErrorJumpTarget);
            break;
        }
        case AddressMode::Absolute:
            target = FetchWord(r);  // used unchanged: a bad one faults at the next fetch
            break;
        case AddressMode::FromX: {
            const float v = Pop(r);
            if (!(v >= 0 && v <= 255)) Fault(r, kErrorJumpVariable);
            std::int32_t operand;
            RoundInto(v, 0, 255, operand);  // within range: v lies in 0..255
            target = Target(r, ReadVariable(r, static_cast<std::uint8_t>(operand)));
            break;
        }
        case AddressMode::FromVariable:
            target = Target(r, ReadVariable(r, FetchByte(r)));
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

// The instructions whose handler here leaves the counter just past their
// operands and raises no attention (a fault or an out-of-line case reloads
// the registers, which looks at the flag): the step after them need not
// test the flag or the counter's range.
constexpr bool MovesOnlyForward(std::uint8_t op) {
    using namespace machine;
    switch (op) {
        case kNop:
        case kSubtract:
        case kMultiply:
        case kDivide:
        case kAdd:
        case kLess:
        case kLessEqual:
        case kEqual:
        case kNotEqual:
        case kGreater:
        case kGreaterEqual:
        case kMod:
        case kIncr:
        case kDecr:
        case kDup:
        case kDrop:
        case kLessZero:
        case kLessEqualZero:
        case kEqualZero:
        case kGreaterZero:
        case kGreaterEqualZero:
        case kNotEqualZero:
        case kLoadElement:
        case kStoreElement:
            return true;
        default:
            return false;
    }
}

// One handler per opcode of machine/opcodes.def: the frequent ones below
// work on the registers, every other one runs out of line.
template <std::uint8_t Op>
ZR_ALWAYS_INLINE inline void Emulator::Instruction(Registers& r) {
    if constexpr (Op >= machine::kFirstJumpOpcode) {
        Jump(Op, r);
    } else {
        OutOfLineHere<Op>(r);  // unassigned ones fault there
    }
}

template <std::uint8_t Op>
ZR_ALWAYS_INLINE inline void Emulator::OutOfLineHere(Registers& r) {
    StoreRegisters(r);
    OutOfLine(Op);
    LoadRegisters(r);
}

#define ZR_INSTRUCTION(op)                                                                       \
    template <>                                                                                  \
    ZR_ALWAYS_INLINE inline void Emulator::Instruction<machine::op>([[maybe_unused]] Registers & \
                                                                    r)

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
    Binary<false>(r, [](double y, double x) { return y - x; });
}
ZR_INSTRUCTION(kMultiply) {
    Binary<false>(r, [](double y, double x) { return y * x; });
}
ZR_INSTRUCTION(kDivide) {
    Binary<true>(r, [](double y, double x) { return y / x; });
}
ZR_INSTRUCTION(kAdd) {
    Binary<false>(r, [](double y, double x) { return y + x; });
}
ZR_INSTRUCTION(kLess) {
    Binary<false>(r, [](double y, double x) { return Truth(y < x); });
}
ZR_INSTRUCTION(kLessEqual) {
    Binary<false>(r, [](double y, double x) { return Truth(y <= x); });
}
ZR_INSTRUCTION(kEqual) {
    Binary<false>(r, [](double y, double x) { return Truth(y == x); });
}
ZR_INSTRUCTION(kNotEqual) {
    Binary<false>(r, [](double y, double x) { return Truth(y != x); });
}
ZR_INSTRUCTION(kGreater) {
    Binary<false>(r, [](double y, double x) { return Truth(y > x); });
}
ZR_INSTRUCTION(kGreaterEqual) {
    Binary<false>(r, [](double y, double x) { return Truth(y >= x); });
}
ZR_INSTRUCTION(kIncr) {
    AddToX(r, 1);
}
ZR_INSTRUCTION(kDecr) {
    AddToX(r, -1);
}
ZR_INSTRUCTION(kDup) {
    Push(r, Slot(r.sp));
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

// The compares with 0, which never fault: X goes to the operand register,
// the truth value replaces it and the slot below becomes LastX.
template <typename Compare>
ZR_ALWAYS_INLINE inline void Emulator::CompareWithZero(Registers& r, Compare compare) {
    const float x = Slot(r.sp);
    const float result = Truth(compare(static_cast<double>(x)));
    machine.operandRegister = x;
    machine.resultRegister = result;
    machine.lastX = Slot(SlotBelow(r.sp));
    Slot(r.sp) = result;
}

ZR_INSTRUCTION(kLessZero) {
    CompareWithZero(r, [](double x) { return x < 0; });
}
ZR_INSTRUCTION(kLessEqualZero) {
    CompareWithZero(r, [](double x) { return x <= 0; });
}
ZR_INSTRUCTION(kEqualZero) {
    CompareWithZero(r, [](double x) { return x == 0; });
}
ZR_INSTRUCTION(kGreaterZero) {
    CompareWithZero(r, [](double x) { return x > 0; });
}
ZR_INSTRUCTION(kGreaterEqualZero) {
    CompareWithZero(r, [](double x) { return x >= 0; });
}
ZR_INSTRUCTION(kNotEqualZero) {
    CompareWithZero(r, [](double x) { return x != 0; });
}

// An operation over Y and X that leaves its result on the registers, false
// when it would fault (a zero divisor, a result that is no finite float,
// Mod of values that are no whole numbers): the one definition for the
// inline Mod and the fused units.
template <std::uint8_t Op>
ZR_ALWAYS_INLINE inline bool TryOperation(float y, float x, float& result) {
    using namespace machine;
    const double dy = y;
    const double dx = x;
    double value = 0;
    if constexpr (Op == kSubtract) value = dy - dx;
    if constexpr (Op == kMultiply) value = dy * dx;
    if constexpr (Op == kDivide) {
        if (x == 0) return false;
        value = dy / dx;
    }
    if constexpr (Op == kAdd) value = dy + dx;
    if constexpr (Op == kLess) value = Truth(dy < dx);
    if constexpr (Op == kLessEqual) value = Truth(dy <= dx);
    if constexpr (Op == kEqual) value = Truth(dy == dx);
    if constexpr (Op == kNotEqual) value = Truth(dy != dx);
    if constexpr (Op == kGreater) value = Truth(dy > dx);
    if constexpr (Op == kGreaterEqual) value = Truth(dy >= dx);
    if constexpr (Op == kMod) {
        std::int32_t divisor = 0;
        std::int32_t dividend = 0;
        if (!RoundToInt32(x, divisor) || divisor == 0 || !RoundToInt32(y, dividend)) return false;
        value = Remainder(dividend, divisor);
    }
    result = static_cast<float>(value);
    // A truth value is -1 or 0, a remainder lies within its operands.
    constexpr bool kAlwaysFinite = (Op >= kLess && Op <= kGreaterEqual) || Op == kMod;
    return kAlwaysFinite || IsFinite(result);
}

// Mod, LoadElement and StoreElement on the registers when nothing can fault
// and the values are Singles or Integers; every other case (a conversion
// or range fault, the stack, the hardware) runs out of line untouched, so
// the fault and its registers are the group's own.
ZR_INSTRUCTION(kMod) {
    const std::intptr_t ySlot = SlotBelow(r.sp);
    const std::intptr_t zSlot = SlotBelow(ySlot);
    const float x = Slot(r.sp);
    const float y = Slot(ySlot);
    float result;
    if (!TryOperation<machine::kMod>(y, x, result)) {
        OutOfLineHere<machine::kMod>(r);
        return;
    }
    machine.operandRegister = y;
    machine.resultRegister = result;
    machine.lastX = Slot(zSlot);
    Slot(ySlot) = result;
    r.sp = ySlot;
}

// The place of element I of the area `area` (below the stack's name) when
// it is a Single or an Integer, with which of the two; nullptr otherwise.
// With an Integer for its index I needs no rounding.
template <bool IntegerIndex>
ZR_ALWAYS_INLINE inline void* Emulator::ElementPlace(std::uint8_t area, float index,
                                                     bool& integer) {
    std::int32_t i = 0;
    if constexpr (IntegerIndex)
        i = static_cast<std::int32_t>(index);
    else if (!RoundToInt32(index, i))
        return nullptr;
    const std::int64_t operand = static_cast<std::int64_t>(area) + i - 1;
    if (operand < 0 || operand >= 255) return nullptr;
    const auto name = static_cast<std::uint8_t>(operand);
    integer = machine::NamesInteger(name);
    if (machine::NamesSingle(name)) return &machine.singles[name];
    if (integer) return &machine.integers[machine::IntegerIndexOf(name)];
    return nullptr;
}

// The element of the area byte at the counter, as ElementPlace.
ZR_ALWAYS_INLINE inline void* Emulator::ElementAtCounter(const Registers& r, float index,
                                                         bool& integer) {
    if (!IsImageCell(r.pc)) return nullptr;
    const std::uint8_t area = machine.programImage[r.pc];
    if (area >= machine::kOperandStack) return nullptr;
    return ElementPlace<false>(area, index, integer);
}

// An element's value, and whether a value fits it (a finite float, or an
// Integer in range, with the whole number it rounds to), then its write.
ZR_ALWAYS_INLINE inline float ReadElement(const void* place, bool integer) {
    return integer ? *static_cast<const std::int16_t*>(place) : *static_cast<const float*>(place);
}
ZR_ALWAYS_INLINE inline bool FitsElement(bool integer, float value, std::int32_t& whole) {
    return integer ? RoundInto(value, INT16_MIN, INT16_MAX, whole) : IsFinite(value);
}
ZR_ALWAYS_INLINE inline void WriteElement(void* place, bool integer, float value,
                                          std::int32_t whole) {
    if (integer)
        *static_cast<std::int16_t*>(place) = static_cast<std::int16_t>(whole);
    else
        *static_cast<float*>(place) = value;
}

ZR_INSTRUCTION(kLoadElement) {
    bool integer = false;
    const void* const place = ElementAtCounter(r, Slot(r.sp), integer);
    if (place == nullptr) {
        OutOfLineHere<machine::kLoadElement>(r);
        return;
    }
    // Pop the index, push the element: the slot below stays LastX.
    machine.lastX = Slot(SlotBelow(r.sp));
    Slot(r.sp) = ReadElement(place, integer);
    ++r.pc;
}

ZR_INSTRUCTION(kStoreElement) {
    bool integer = false;
    void* const place = ElementAtCounter(r, Slot(r.sp), integer);
    const float value = Slot(SlotBelow(r.sp));
    std::int32_t whole = 0;
    if (place == nullptr || !FitsElement(integer, value, whole)) {
        OutOfLineHere<machine::kStoreElement>(r);
        return;
    }
    WriteElement(place, integer, value, whole);
    r.sp = SlotBelow(SlotBelow(r.sp));
    ++r.pc;
}

// The limit of a counted or compare Loop: the word, or the Single or
// Integer it names, when reading it cannot fault.
ZR_ALWAYS_INLINE inline bool Emulator::LoopLimit(int word, int& limit) {
    const int operand = machine::VariableWordOperand(word);
    if (operand < 0) {
        limit = word;
        return true;
    }
    if (operand > 255) return false;
    const auto name = static_cast<std::uint8_t>(operand);
    float value = 0;
    if (machine::NamesSingle(name))
        value = machine.singles[name];
    else if (machine::NamesInteger(name))
        value = machine.integers[machine::IntegerIndexOf(name)];
    else
        return false;
    std::int32_t rounded = 0;
    if (!RoundInto(value, INT16_MIN, INT16_MAX, rounded)) return false;
    limit = rounded;
    return true;
}

// Loop's counted or compare step once its limit is known: the counter
// variable (0: compare X with the limit, popped), the way back and the
// address after the Loop. False, with nothing changed, when the counter
// would leave the int16 range.
ZR_ALWAYS_INLINE inline bool Emulator::LoopStep(Registers& r, int counter, bool down, int limit,
                                                std::intptr_t back, std::intptr_t after) {
    if (counter == 0) {
        const float x = Pop(r);
        r.pc = (down ? x == limit : x != limit) ? back : after;
        return true;
    }
    const int next = machine.integers[counter] + (down ? -1 : 1);
    if (next < INT16_MIN || next > INT16_MAX) return false;
    machine.integers[counter] = static_cast<std::int16_t>(next);
    r.pc = (down ? next >= limit : next <= limit) ? back : after;
    return true;
}

// Loop's counted and compare forms here; the value list, a limit held
// elsewhere and every fault out of line.
ZR_INSTRUCTION(kLoop) {
    const std::intptr_t at = r.pc;  // the form, the way back, the limit word
    if (at + 3 > machine::kProgramSize) {
        OutOfLineHere<machine::kLoop>(r);
        return;
    }
    const ProgramMemory& image = machine.programImage;
    const std::uint8_t form = image[at];
    int limit = 0;
    if ((form & machine::kLoopValueList) ||
        !LoopLimit(machine::DecodeInteger(image[at + 2], image[at + 3]), limit) ||
        !LoopStep(r, form & machine::kLoopVariableBits, form & machine::kLoopDownOrEqual, limit,
                  at - image[at + 1], at + 4))
        OutOfLineHere<machine::kLoop>(r);
}

#undef ZR_INSTRUCTION

// M(0x00) M(0x01) ... M(0xFF): the dispatch tables are made with it.
// clang-format off
#define ZR_OPCODES_16(M, h)                                                 \
    M(0x##h##0) M(0x##h##1) M(0x##h##2) M(0x##h##3) M(0x##h##4) M(0x##h##5) \
    M(0x##h##6) M(0x##h##7) M(0x##h##8) M(0x##h##9) M(0x##h##A) M(0x##h##B) \
    M(0x##h##C) M(0x##h##D) M(0x##h##E) M(0x##h##F)
#define ZR_ALL_OPCODES(M)                                                                   \
    ZR_OPCODES_16(M, 0) ZR_OPCODES_16(M, 1) ZR_OPCODES_16(M, 2) ZR_OPCODES_16(M, 3)         \
    ZR_OPCODES_16(M, 4) ZR_OPCODES_16(M, 5) ZR_OPCODES_16(M, 6) ZR_OPCODES_16(M, 7)         \
    ZR_OPCODES_16(M, 8) ZR_OPCODES_16(M, 9) ZR_OPCODES_16(M, A) ZR_OPCODES_16(M, B)         \
    ZR_OPCODES_16(M, C) ZR_OPCODES_16(M, D) ZR_OPCODES_16(M, E) ZR_OPCODES_16(M, F)
// clang-format on

// A case for every byte value, so the compiler builds one 256-entry jump
// table with no range check.
ZR_ALWAYS_INLINE inline void Emulator::Dispatch(std::uint8_t op, Registers& r) {
    switch (op) {
#define ZR_CASE(value)         \
    case value:                \
        Instruction<value>(r); \
        return;
        ZR_ALL_OPCODES(ZR_CASE)
#undef ZR_CASE
    }
}

}  // namespace zr::emulator
