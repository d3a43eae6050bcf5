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
    return DecodedLoopLimit(d.first, limit) &&
           LoopStep(r, d.index, d.form & machine::kLoopDownOrEqual, limit, d.target,
                    r.pc + d.length - 1);
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
        Slot(s1) = ReadElement(place, integer);
        r.sp = s1;
    } else {
        const float value = Slot(s);
        std::int32_t whole = 0;
        if (!FitsElement(integer, value, whole)) return false;
        machine.lastX = value;
        Slot(s1) = index;
        WriteElement(place, integer, value, whole);
        r.sp = SlotBelow(s);
    }
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    r.left -= kCount;
    return true;
}

// <0, <=0, =0, >0, >=0 or <>0 as the instruction does it, then IF's skip,
// which pops the truth value.
template <int Place>
ZR_ALWAYS_INLINE inline bool Emulator::RunZeroCompareSkip(Registers& r, const Decoded& d) {
    constexpr int kCount = 2;
    if (r.left <= kCount) return false;
    Instruction<kZeroCompareCodes[Place]>(r);
    const float result = Pop(r);
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    if (result == 0) r.pc += d.target;
    r.left -= kCount;
    return true;
}

}  // namespace zr::emulator
