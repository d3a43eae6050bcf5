// The fused units of the run loop (emulator/predecoded.h): each computes
// everything it needs first and gives up (false) before its first write
// when anything would fault or when no more instructions are left before the
// checkpoint than it holds; the loop then runs the unit's first instruction
// alone. A loop the debugger watches runs no units. A unit counts all its
// instructions, so the loop's step after it neither counts nor, unless it
// jumped, tests anything. The effects are the instructions' own, one after
// another: every slot a push wrote, LastX, the operand and result registers.
#pragma once

#include "emulator/dispatch.h"
#include "emulator/emulator.h"
#include "emulator/predecoded.h"

namespace zr::emulator {

// The operation at `place` in kFusedOperationCodes, chosen as the unit runs.
ZR_ALWAYS_INLINE inline bool OperationAt(int place, float y, float x, float& result) {
    switch (place) {
#define ZR_OPERATION_CASE(n) \
    case n:                  \
        return TryOperation<kFusedOperationCodes[n]>(y, x, result);
        ZR_OPERATION_CASE(0)
        ZR_OPERATION_CASE(1)
        ZR_OPERATION_CASE(2)
        ZR_OPERATION_CASE(3)
        ZR_OPERATION_CASE(4)
        ZR_OPERATION_CASE(5)
        ZR_OPERATION_CASE(6)
        ZR_OPERATION_CASE(7)
        ZR_OPERATION_CASE(8)
        ZR_OPERATION_CASE(9)
        ZR_OPERATION_CASE(10)
#undef ZR_OPERATION_CASE
    }
    ZR_UNREACHABLE();  // the decoder makes only these places
    return false;
}
static_assert(kFusedOperations == 11, "OperationAt has a case for each");

template <bool Integer>
ZR_ALWAYS_INLINE inline float ValueOf(const Source& source) {
    if constexpr (Integer) return *static_cast<const std::int16_t*>(source.place);
    return *static_cast<const float*>(source.place);
}

// Whether `value` can be stored where `store` names, with the Integer it
// rounds to; the store itself.
template <bool Integer>
ZR_ALWAYS_INLINE inline bool CanStore(float value, std::int32_t& whole) {
    return !Integer || RoundInto(value, INT16_MIN, INT16_MAX, whole);
}
template <bool Integer>
ZR_ALWAYS_INLINE inline void Store(const Source& store, float value, std::int32_t whole) {
    if constexpr (Integer)
        *static_cast<std::int16_t*>(store.place) = static_cast<std::int16_t>(whole);
    else
        *static_cast<float*>(store.place) = value;
}

// A unit's tail once its result stands and is popped: the conditional
// GoTo when the result is not 0, IF's skip when it is, or the store.
template <bool Branch, bool Skip, bool Stores>
ZR_ALWAYS_INLINE inline void Emulator::FinishTail(Registers& r, const Decoded& d, float result,
                                                  bool storesInteger, std::int32_t whole) {
    if constexpr (Branch) {
        if (result != 0) r.pc = d.target;
    }
    if constexpr (Skip) {
        if (result == 0) r.pc += d.target;
    }
    if constexpr (Stores) {
        if (storesInteger)
            Store<true>(d.store, result, whole);
        else
            Store<false>(d.store, result, whole);
    }
}

template <std::uint8_t Op, int ShapeNumber, int Integers>
ZR_ALWAYS_INLINE inline bool Emulator::RunFused(Registers& r, const Decoded& d) {
    constexpr auto kShape = static_cast<FusedShape>(ShapeNumber);
    constexpr bool kTwoPushes = ShapeNumber % 2 == 1;
    constexpr bool kBranch =
        kShape == FusedShape::PushOperateBranch || kShape == FusedShape::PushPushOperateBranch;
    constexpr bool kSkip =
        kShape == FusedShape::PushOperateSkip || kShape == FusedShape::PushPushOperateSkip;
    constexpr bool kStore =
        kShape == FusedShape::PushOperateStore || kShape == FusedShape::PushPushOperateStore;
    constexpr bool kFirstInteger = Integers & kFirstIsInteger;
    constexpr bool kSecondInteger = Integers & kSecondIsInteger;
    constexpr int kCount = FusedCount(ShapeNumber);
    if (r.left <= kCount) return false;
    const std::intptr_t s = r.sp;
    const std::intptr_t s1 = SlotAbove(s);
    // Y and X of the operation: the two pushed, or X and the one pushed.
    float y;
    float x;
    if constexpr (kTwoPushes) {
        y = ValueOf<kFirstInteger>(d.first);
        x = ValueOf<kSecondInteger>(d.second);
    } else {
        y = Slot(s);
        x = ValueOf<kFirstInteger>(d.first);
    }
    float result;
    if (!TryOperation<Op>(y, x, result)) return false;
    [[maybe_unused]] std::int32_t whole = 0;
    const bool storesInteger = kStore && d.store.area == Source::Integer;
    if (storesInteger && !CanStore<true>(result, whole)) return false;
    if constexpr (kTwoPushes) {
        // The operation leaves LastX as the slot below Y: the X before the unit.
        machine.lastX = Slot(s);
        Slot(SlotAbove(s1)) = x;
        Slot(s1) = result;
        r.sp = s1;
    } else {
        Slot(s1) = x;
        machine.lastX = Slot(SlotBelow(s));
        Slot(s) = result;
    }
    machine.operandRegister = y;
    machine.resultRegister = result;
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    r.left -= kCount;  // more than it holds were left
    if constexpr (kBranch || kSkip || kStore) r.sp = SlotBelow(r.sp);
    FinishTail<kBranch, kSkip, kStore>(r, d, result, storesInteger, whole);
    return true;
}

// a b op1 c op2, then the tail: the effects of the two units one after the
// other, of which only the last of each remain. The pushes fill the two
// slots above X; op1's result, then op2's, goes over the first; LastX ends
// as the X before the unit, the operand register as op1's result.
template <int TailNumber, int Integers>
ZR_ALWAYS_INLINE inline bool Emulator::RunChain(Registers& r, const Decoded& d) {
    constexpr int kCount = ChainCount(TailNumber);
    if (r.left <= kCount) return false;
    const float a = ValueOf<(Integers & kFirstIsInteger) != 0>(d.first);
    const float b = ValueOf<(Integers & kSecondIsInteger) != 0>(d.second);
    float first;
    if (!OperationAt(d.operations[0], a, b, first)) return false;
    const float c =
        d.third.area == Source::Integer ? ValueOf<true>(d.third) : ValueOf<false>(d.third);
    float result;
    if (!OperationAt(d.operations[1], first, c, result)) return false;
    constexpr bool kStore = TailNumber == 3;
    [[maybe_unused]] std::int32_t whole = 0;
    const bool storesInteger = kStore && d.store.area == Source::Integer;
    if (storesInteger && !CanStore<true>(result, whole)) return false;
    const std::intptr_t s = r.sp;
    const std::intptr_t s1 = SlotAbove(s);
    machine.lastX = Slot(s);
    Slot(SlotAbove(s1)) = c;
    Slot(s1) = result;
    machine.operandRegister = first;
    machine.resultRegister = result;
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    r.left -= kCount;
    r.sp = TailNumber == 0 ? s1 : s;  // a tail pops the result
    FinishTail<TailNumber == 1, TailNumber == 2, kStore>(r, d, result, storesInteger, whole);
    return true;
}

// iM a; Incr or Decr; Mv b.
template <int Integers>
ZR_ALWAYS_INLINE inline bool Emulator::RunBump(Registers& r, const Decoded& d) {
    constexpr bool kStoresInteger = Integers & kSecondIsInteger;
    if (r.left <= kBumpCount) return false;
    const float loaded = ValueOf<(Integers & kFirstIsInteger) != 0>(d.first);
    const float result = static_cast<float>(static_cast<double>(loaded) + d.value);
    if (!IsFinite(result)) return false;
    std::int32_t whole = 0;
    if (!CanStore<kStoresInteger>(result, whole)) return false;
    const std::intptr_t s = r.sp;
    machine.lastX = Slot(s);
    Slot(SlotAbove(s)) = result;
    machine.operandRegister = loaded;
    machine.resultRegister = result;
    Store<kStoresInteger>(d.store, result, whole);
    r.pc += static_cast<std::intptr_t>(d.length) - 1;
    r.left -= kBumpCount;
    return true;
}

}  // namespace zr::emulator
