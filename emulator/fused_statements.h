// The run loop's units of statement shapes (emulator/predecoded.h): a Loop
// decoded once, an element read or written with a variable for its index,
// and a compare with 0 before IF's skip. Like the fused units they give up
// (false) before their first write when anything would fault or when no
// more instructions are left before the checkpoint than they hold; the loop
// then runs the first instruction from memory. The decoded Loop is a single
// instruction and runs in the watched loop as well.
#pragma once

#include "emulator/dispatch.h"
#include "emulator/emulator.h"
#include "emulator/fused_units.h"
#include "emulator/predecoded.h"

namespace zr::emulator {

// The limit of a decoded Loop as the device reads it: a Single rounded,
// false when it is no int16.
ZR_ALWAYS_INLINE inline bool DecodedLoopLimit(const Source& limit, int& value) {
    if (limit.area == Source::Integer) {
        value = ValueOf<true>(limit);
        return true;
    }
    if (limit.area == Source::Constant) {
        value = static_cast<int>(limit.value);
        return true;
    }
    std::int32_t rounded = 0;
    if (!RoundInto(ValueOf<false>(limit), INT16_MIN, INT16_MAX, rounded)) return false;
    value = rounded;
    return true;
}

// A Loop is one instruction: it runs whatever is left before the checkpoint,
// and the loop's step after it counts it.
ZR_ALWAYS_INLINE inline bool Emulator::RunDecodedLoop(Registers& r, const Decoded& d) {
    int limit = 0;
    if (!DecodedLoopLimit(d.first, limit)) return false;
    const std::intptr_t after = r.pc + d.length - 1;
    const bool down = d.form & machine::kLoopDownOrEqual;
    if (d.index == 0) {
        const float x = Pop(r);
        r.pc = (down ? x == limit : x != limit) ? d.target : after;
        return true;
    }
    const int next = machine.integers[d.index] + (down ? -1 : 1);
    if (next < INT16_MIN || next > INT16_MAX) return false;
    machine.integers[d.index] = static_cast<std::int16_t>(next);
    r.pc = (down ? next >= limit : next <= limit) ? d.target : after;
    return true;
}

// The place of element I of the area `area` when it is a Single or an
// Integer, with which of the two; nullptr otherwise.
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

// iM v; LoadElement or StoreElement: the index pushed, then popped with the
// element pushed in its place, or with the value below it stored.
template <bool Load, int Integers>
ZR_ALWAYS_INLINE inline bool Emulator::RunElement(Registers& r, const Decoded& d) {
    constexpr bool kIntegerIndex = Integers & kFirstIsInteger;
    constexpr int kCount = 2;
    if (r.left <= kCount) return false;
    const float index = ValueOf<kIntegerIndex>(d.first);
    bool integer = false;
    void* const place = ElementPlace<kIntegerIndex>(d.index, index, integer);
    if (place == nullptr) return false;
    const std::intptr_t s = r.sp;
    const std::intptr_t s1 = SlotAbove(s);
    if constexpr (Load) {
        machine.lastX = Slot(s);
        Slot(s1) =
            integer ? *static_cast<const std::int16_t*>(place) : *static_cast<const float*>(place);
        r.sp = s1;
    } else {
        const float value = Slot(s);
        std::int32_t whole = 0;
        if (integer ? !RoundInto(value, INT16_MIN, INT16_MAX, whole) : !IsFinite(value))
            return false;
        machine.lastX = value;
        Slot(s1) = index;
        if (integer)
            *static_cast<std::int16_t*>(place) = static_cast<std::int16_t>(whole);
        else
            *static_cast<float*>(place) = value;
        r.sp = SlotBelow(s);
    }
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    r.left -= kCount;
    return true;
}

// <0, <=0, =0, >0, >=0 or <>0, then IF's skip: X goes to the operand
// register, the truth value to the result register and is popped, the slot
// below becomes LastX.
template <int Place>
ZR_ALWAYS_INLINE inline bool Emulator::RunZeroCompareSkip(Registers& r, const Decoded& d) {
    using namespace machine;
    constexpr std::uint8_t kOp = kZeroCompareCodes[Place];
    constexpr int kCount = 2;
    if (r.left <= kCount) return false;
    const float x = Slot(r.sp);
    bool holds = false;
    if constexpr (kOp == kLessZero) holds = x < 0;
    if constexpr (kOp == kLessEqualZero) holds = x <= 0;
    if constexpr (kOp == kEqualZero) holds = x == 0;
    if constexpr (kOp == kGreaterZero) holds = x > 0;
    if constexpr (kOp == kGreaterEqualZero) holds = x >= 0;
    if constexpr (kOp == kNotEqualZero) holds = x != 0;
    const float result = Truth(holds);
    machine.operandRegister = x;
    machine.resultRegister = result;
    machine.lastX = Slot(SlotBelow(r.sp));
    Slot(r.sp) = result;
    r.sp = SlotBelow(r.sp);
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    if (!holds) r.pc += d.target;
    r.left -= kCount;
    return true;
}

}  // namespace zr::emulator
