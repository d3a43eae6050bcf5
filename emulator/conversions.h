// Float-to-whole conversions and result checks: the one definition of each,
// used by the run loop's inline handlers and by every other instruction.
// Every conversion rounds to the nearest whole number, ties to the even
// neighbour, and then requires its range; a value outside it is a run fault.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "emulator/run_errors.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A lambda's form goes after its parameter list: `[&]() ZR_ALWAYS_INLINE_LAMBDA {}`.
#if defined(__GNUC__)
#define ZR_ALWAYS_INLINE [[gnu::always_inline]]
#define ZR_ALWAYS_INLINE_LAMBDA __attribute__((always_inline))
#else
#define ZR_ALWAYS_INLINE
#define ZR_ALWAYS_INLINE_LAMBDA
#endif

// A point the code cannot reach, for the optimiser.
#if defined(__GNUC__)
#define ZR_UNREACHABLE() __builtin_unreachable()
#else
#define ZR_UNREACHABLE() static_cast<void>(0)
#endif

namespace zr::emulator {

// The one rounding: nearest whole number, ties to even, into `out`; false
// when the result lies outside the 32-bit range (NaN and infinities too).
ZR_ALWAYS_INLINE inline bool RoundToInt32(double value, std::int32_t& out) {
#if defined(__SSE2__)
    // The processor's conversion rounds as nearbyint does (the default mode,
    // ties to even) without a library call. It answers INT32_MIN for NaN and
    // for whatever int cannot hold, so that answer counts only for the values
    // that truly round to INT32_MIN.
    out = _mm_cvtsd_si32(_mm_set_sd(value));
    return out != INT32_MIN || (value >= -2147483648.5 && value <= -2147483647.5);
#else
    const double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return false;
    out = static_cast<std::int32_t>(rounded);
    return true;
#endif
}

// The same for a float, without widening it first: a float rounds to
// INT32_MIN only when it is -2^31.
ZR_ALWAYS_INLINE inline bool RoundToInt32(float value, std::int32_t& out) {
#if defined(__SSE2__)
    out = _mm_cvtss_si32(_mm_set_ss(value));
    return out != INT32_MIN || value == -2147483648.0f;
#else
    return RoundToInt32(static_cast<double>(value), out);
#endif
}

// RoundToInt32, then lo..hi (within the 32-bit range).
template <typename Number>
ZR_ALWAYS_INLINE inline bool RoundInto(Number value, std::int32_t lo, std::int32_t hi,
                                       std::int32_t& out) {
    static_assert(std::is_floating_point_v<Number>);
    return RoundToInt32(value, out) && out >= lo && out <= hi;
}

inline std::int32_t RoundChecked(double value, std::int32_t lo, std::int32_t hi) {
    std::int32_t rounded;
    if (!RoundInto(value, lo, hi, rounded)) throw RunFault{kErrorConversionRange};
    return rounded;
}

inline std::int32_t ToInt32(double value) {
    return RoundChecked(value, INT32_MIN, INT32_MAX);
}
inline std::int16_t ToInt16(double value) {
    return static_cast<std::int16_t>(RoundChecked(value, INT16_MIN, INT16_MAX));
}
inline std::uint8_t ToByte(double value) {
    return static_cast<std::uint8_t>(RoundChecked(value, 0, 255));
}

// value - value is 0 for a finite value and NaN for an infinity or a NaN: a
// subtraction and a compare, where isfinite takes a mask and a constant.
ZR_ALWAYS_INLINE inline bool IsFinite(float value) {
    const float difference = value - value;
    return difference == difference;  // false only for NaN
}

// A computed result as the float the stack holds; infinities and NaNs stop the run.
inline float CheckedFloat(double value) {
    const float result = static_cast<float>(value);
    if (!IsFinite(result)) throw RunFault{kErrorFloatRange};
    return result;
}

// Mod's remainder, with the sign of the dividend; any whole number over -1
// leaves 0, which spares INT32_MIN % -1 and a 64-bit division.
ZR_ALWAYS_INLINE inline std::int32_t Remainder(std::int32_t dividend, std::int32_t divisor) {
    return divisor == -1 ? 0 : dividend % divisor;
}

inline float Truth(bool condition) {
    return condition ? -1.0f : 0.0f;
}

}  // namespace zr::emulator
