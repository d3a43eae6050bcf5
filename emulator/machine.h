// The machine state of the emulated device: value stack, return stack,
// registers, variable areas and the program memory it executes.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "emulator/conversions.h"
#include "emulator/run_errors.h"
#include "machine/image.h"

namespace zr::emulator {

inline constexpr int kValueStackSize = 16;  // the ring arithmetic below relies on 16
inline constexpr int kReturnStackSize = 32;

// Event flag bits (EventFlags).
inline constexpr std::uint8_t kEventTimerPending = 0x01;
inline constexpr std::uint8_t kEventProgramPending = 0x02;
inline constexpr std::uint8_t kEventKeysToProgram = 0x04;  // the run loop reads no key
inline constexpr std::uint8_t kEventsHeld = 0x08;          // bits 0 and 1 are not dispatched
inline constexpr std::uint8_t kEventSilentErrors = 0x10;
inline constexpr std::uint8_t kEventAutoStart = 0x20;

// The ring of value stack slots counted 0..15 (slot 1..16 less 1): a step
// around it is one mask. The run loop keeps its stack pointer in this form.
constexpr std::intptr_t SlotAbove(std::intptr_t s) {
    return (s + 1) & 15;
}
constexpr std::intptr_t SlotBelow(std::intptr_t s) {
    return (s - 1) & 15;
}

// Whether a program counter names a cell of the image (0..1024): one
// unsigned compare covers negative counters and those past the image.
constexpr bool IsImageCell(std::intptr_t address) {
    return static_cast<std::uintptr_t>(address) <= machine::kProgramSize;
}

class Emulator;

// The program memory, cells 0..1024. Anyone reads it; only the Emulator's
// WriteProgram writes a cell, so that it can drop whatever it decoded from
// that cell. The one other way in is replacing the whole memory (a state
// put back, a snapshot read): that gives it a new stamp, and the emulator,
// seeing a stamp it did not decode, drops everything it decoded.
class ProgramMemory {
  public:
    ProgramMemory() = default;
    explicit ProgramMemory(const machine::ProgramImage& image) : cells_(image) {}
    ProgramMemory(const ProgramMemory& other) : cells_(other.cells_) {}
    ProgramMemory& operator=(const ProgramMemory& other) {
        cells_ = other.cells_;
        stamp_ = NewStamp();
        return *this;
    }

    std::uint8_t operator[](std::intptr_t address) const { return cells_[address]; }
    const machine::ProgramImage& image() const { return cells_; }
    operator const machine::ProgramImage&() const { return cells_; }
    const std::uint8_t* data() const { return cells_.data(); }
    static constexpr std::size_t size() { return machine::kProgramSize + 1; }
    auto begin() const { return cells_.begin(); }
    auto end() const { return cells_.end(); }
    bool operator==(const ProgramMemory& other) const { return cells_ == other.cells_; }
    bool operator==(const machine::ProgramImage& image) const { return cells_ == image; }

    // Changes whenever the whole memory is replaced; never twice the same.
    std::uint64_t stamp() const { return stamp_; }

  private:
    friend class Emulator;  // Emulator::WriteProgram
    void Set(int address, std::uint8_t value) { cells_[address] = value; }
    static std::uint64_t NewStamp() {
        static std::atomic<std::uint64_t> next{1};
        return next.fetch_add(1, std::memory_order_relaxed);
    }

    machine::ProgramImage cells_{};
    std::uint64_t stamp_ = NewStamp();
};

[[noreturn]] inline void ThrowAddressFault() {
    throw RunFault{kErrorAddressRange};
}

// The one fetch, whichever way the counter is kept: the byte at `pc`, which
// then moves past it. A counter outside the image is error 56, raised by
// `fault` (which must not return) before the counter moves, so the fault
// reports the address of the byte it could not read. A word is two bytes,
// high first, in the sign-magnitude Integer encoding.
template <typename Counter, typename Fault>
ZR_ALWAYS_INLINE inline std::uint8_t FetchByteAt(const machine::ProgramImage& image, Counter& pc,
                                                 Fault&& fault) {
    if (!IsImageCell(pc)) fault();
    return image[pc++];
}
template <typename Counter, typename Fault>
ZR_ALWAYS_INLINE inline int FetchWordAt(const machine::ProgramImage& image, Counter& pc,
                                        Fault&& fault) {
    const std::uint8_t high = FetchByteAt(image, pc, fault);
    return machine::DecodeInteger(high, FetchByteAt(image, pc, fault));
}

struct MachineState {
    ProgramMemory programImage;

    // ValueStack: a ring of 16 floats, slots 1..16 (index 0 unused); X is slot
    // StackPointer. A push moves up (16 wraps to 1), a pop moves down (1 wraps to 16).
    std::array<float, kValueStackSize + 1> valueStack{};
    int stackPointer = 1;  // always 1..16
    float lastX = 0;       // the top before the most recent push

    // ReturnStack: entries 1..32; the top entry is the program counter.
    std::array<std::int16_t, kReturnStackSize + 1> returnStack{};
    int returnPointer = 1;

    float resultRegister = 0;  // survives from one instruction to the next
    float operandRegister = 0;
    int segmentEnd = 0;                // 0 = no segment
    std::uint8_t listPassCounter = 0;  // one counter shared by every value-list Loop

    std::uint8_t runState = kStopped;
    std::uint8_t eventFlags = 0;
    int timerHandler = 0;  // 0 = timer event off
    int timerPeriod = 0;
    int eventHandler = 0;
    std::uint8_t hexMode = 0;

    // Variable areas (1-based; index 0 unused). Integer index 124 is the
    // Stack name and is never a plain cell.
    std::array<float, machine::kSingleCount + 1> singles{};
    std::array<std::uint8_t, machine::kByteCount + 1> bytes{};
    std::array<std::int16_t, machine::kIntegerCount + 2> integers{};

    // ---- Primitives ----
    int ProgramCounter() const { return returnStack[returnPointer]; }
    void SetProgramCounter(int address) {
        returnStack[returnPointer] = static_cast<std::int16_t>(address);
    }

    // At the counter on the return stack (the out-of-line instructions).
    std::uint8_t FetchByte() {
        return FetchByteAt(programImage, returnStack[returnPointer], ThrowAddressFault);
    }
    int FetchWord() {
        return FetchWordAt(programImage, returnStack[returnPointer], ThrowAddressFault);
    }
    float FetchSingle() {
        std::uint8_t bytes4[4];
        for (auto& b : bytes4) b = FetchByte();
        return machine::SingleFromBytes(bytes4);
    }

    // Push and pop on a stack pointer counted 0..15 wherever it is kept: the
    // run loop keeps it in a register, PushValue and PopValue use the state's.
    ZR_ALWAYS_INLINE float& SlotAt(std::intptr_t s) { return valueStack[s + 1]; }
    ZR_ALWAYS_INLINE void PushAt(std::intptr_t& s, float value) {
        lastX = SlotAt(s);
        s = SlotAbove(s);
        SlotAt(s) = value;
    }
    ZR_ALWAYS_INLINE float PopAt(std::intptr_t& s) {
        const float value = SlotAt(s);
        s = SlotBelow(s);
        return value;
    }
    void PushValue(float value) {
        std::intptr_t s = stackPointer - 1;
        PushAt(s, value);
        stackPointer = static_cast<int>(s) + 1;
    }
    float PopValue() {
        std::intptr_t s = stackPointer - 1;
        const float value = PopAt(s);
        stackPointer = static_cast<int>(s) + 1;
        return value;
    }
    float& X() { return valueStack[stackPointer]; }
    // X into the result register, then Y into the operand register.
    void PopPair() {
        resultRegister = PopValue();
        operandRegister = PopValue();
    }

    // A call: the new top entry holds the target; the entry below keeps the
    // caller's counter, which already points past the calling instruction.
    void PushReturn(int address) {
        if (returnPointer == kReturnStackSize) throw RunFault{kErrorDivideOrCallDepth};
        ++returnPointer;
        returnStack[returnPointer] = static_cast<std::int16_t>(address);
    }
    void PopReturn() {
        if (returnPointer == 1) throw RunFault{kErrorSqrtOrReturn};
        --returnPointer;
    }

    // A variable the machine keeps: RX, a Single, Byte or Integer cell, or
    // the Stack name (StackPointer - 1). The hardware names (PORT, ADC, I2C)
    // are the emulator's to read and give 0 here.
    float StoredValue(machine::DecodedOperand variable) const {
        switch (variable.area) {
            case machine::VariableArea::RX:
                return valueStack[stackPointer];
            case machine::VariableArea::Single:
                return singles[variable.index];
            case machine::VariableArea::Byte:
                return bytes[variable.index];
            case machine::VariableArea::Integer:
                return integers[variable.index];
            case machine::VariableArea::Stack:
                return static_cast<float>(stackPointer - 1);
            default:
                return 0;
        }
    }

    // Any slot number brought into the ring 1..16 (0 is 16, 17 is 1).
    static int RingSlot(int slot) {
        return ((slot - 1) % kValueStackSize + kValueStackSize) % kValueStackSize + 1;
    }
};

}  // namespace zr::emulator
