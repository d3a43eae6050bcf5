// Float-to-whole conversions and result checks shared by the instructions.
// Every conversion rounds to the nearest whole number, ties to even, and
// then requires its range; a value outside it is a run fault.
#pragma once

#include <cmath>
#include <cstdint>

#include "emulator/run_errors.h"

namespace zr::emulator {

inline long RoundChecked(double value, double lo, double hi) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= lo && rounded <= hi)) throw RunFault{kErrorConversionRange};
    return static_cast<long>(rounded);
}

inline std::int32_t ToInt32(double value) {
    return static_cast<std::int32_t>(RoundChecked(value, INT32_MIN, INT32_MAX));
}
inline std::int16_t ToInt16(double value) {
    return static_cast<std::int16_t>(RoundChecked(value, INT16_MIN, INT16_MAX));
}
inline std::uint8_t ToByte(double value) {
    return static_cast<std::uint8_t>(RoundChecked(value, 0, 255));
}

// A computed result as the float the stack holds; infinities and NaNs stop the run.
inline float CheckedFloat(double value, std::uint8_t fault = kErrorFloatRange) {
    const float result = static_cast<float>(value);
    if (!std::isfinite(result)) throw RunFault{fault};
    return result;
}

inline float Truth(bool condition) {
    return condition ? -1.0f : 0.0f;
}

}  // namespace zr::emulator
