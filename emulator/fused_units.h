// The fused units of the run loop (emulator/predecoded.h): each computes
// everything it needs first and gives up (false) before its first write
// when anything would fault, when no more instructions are left before the
// checkpoint than it holds, or when a debugger watches the loop; the loop
// then runs the unit's first instruction alone. A unit counts all its
// instructions, so the loop's step after it neither counts nor, unless it
// jumped, tests anything. The effects are the instructions' own, one after
// another: every slot a push wrote, LastX, the operand and result registers.
#pragma once

#include "emulator/dispatch.h"
#include "emulator/emulator.h"
#include "emulator/predecoded.h"

namespace zr::emulator {

template <std::uint8_t Op>
ZR_ALWAYS_INLINE inline double FusedOperation(double y, double x) {
    using namespace machine;
    if constexpr (Op == kSubtract) return y - x;
    if constexpr (Op == kMultiply) return y * x;
    if constexpr (Op == kDivide) return y / x;
    if constexpr (Op == kAdd) return y + x;
    if constexpr (Op == kLess) return Truth(y < x);
    if constexpr (Op == kLessEqual) return Truth(y <= x);
    if constexpr (Op == kEqual) return Truth(y == x);
    if constexpr (Op == kNotEqual) return Truth(y != x);
    if constexpr (Op == kGreater) return Truth(y > x);
    if constexpr (Op == kGreaterEqual) return Truth(y >= x);
}

ZR_ALWAYS_INLINE inline float Emulator::ValueOf(const Source& source) {
    if (source.area == Source::Single) return machine.singles[source.index];
    if (source.area == Source::Integer) return machine.integers[source.index];
    return source.value;
}

template <std::uint8_t Op, int ShapeNumber, bool Watched>
ZR_ALWAYS_INLINE inline bool Emulator::RunFused(Registers& r, const Decoded& d) {
    constexpr auto kShape = static_cast<FusedShape>(ShapeNumber);
    constexpr bool kTwoPushes = kShape == FusedShape::PushPushOperate ||
                                kShape == FusedShape::PushPushOperateBranch ||
                                kShape == FusedShape::PushPushOperateSkip;
    constexpr bool kBranch =
        kShape == FusedShape::PushOperateBranch || kShape == FusedShape::PushPushOperateBranch;
    constexpr bool kSkip =
        kShape == FusedShape::PushOperateSkip || kShape == FusedShape::PushPushOperateSkip;
    if (Watched || r.left <= d.count) return false;
    const std::intptr_t s = r.sp;
    const std::intptr_t s1 = SlotAbove(s);
    // Y and X of the operation: the two pushed, or X and the one pushed.
    const float y = kTwoPushes ? ValueOf(d.first) : Slot(s);
    const float x = kTwoPushes ? ValueOf(d.second) : ValueOf(d.first);
    if (Op == machine::kDivide && x == 0) return false;
    const float result = static_cast<float>(FusedOperation<Op>(y, x));
    constexpr bool kCompares = Op >= machine::kLess && Op <= machine::kGreaterEqual;
    if (!kCompares && !IsFinite(result)) return false;  // a truth value is -1 or 0
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
    r.pc += d.length - 1;
    r.left -= d.count;  // more than it holds were left
    if constexpr (kBranch) {
        r.sp = SlotBelow(r.sp);
        if (result != 0) r.pc = d.target;
    }
    if constexpr (kSkip) {
        r.sp = SlotBelow(r.sp);
        if (result == 0) r.pc += d.target;
    }
    return true;
}

// iM a; Incr or Decr; Mv b.
template <bool Watched>
ZR_ALWAYS_INLINE inline bool Emulator::RunBump(Registers& r, const Decoded& d) {
    if (Watched || r.left <= d.count) return false;
    const float loaded = ValueOf(d.first);
    const float result = static_cast<float>(static_cast<double>(loaded) + d.value);
    if (!IsFinite(result)) return false;
    std::int32_t whole = 0;
    if (d.store.area == Source::Integer && !RoundInto(result, INT16_MIN, INT16_MAX, whole))
        return false;
    const std::intptr_t s = r.sp;
    machine.lastX = Slot(s);
    Slot(SlotAbove(s)) = result;
    machine.operandRegister = loaded;
    machine.resultRegister = result;
    if (d.store.area == Source::Single)
        machine.singles[d.store.index] = result;
    else
        machine.integers[d.store.index] = static_cast<std::int16_t>(whole);
    r.pc += d.length - 1;
    r.left -= d.count;
    return true;
}

}  // namespace zr::emulator
