// Number texts of the device: the display's decimal and hexadecimal forms,
// the trace list's fixed form, and the reading of a keypad entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zr::emulator {

// Decimal form: at most 7 significant digits, no trailing zeros or separator,
// "0" before the separator below 1, "-" for negatives; magnitudes from
// 10,000,000 up (and below 0.0001) in exponent form "1.234568E+07".
std::string FormatDecimal(float value, char separator = '.');

// Hexadecimal form: the value rounded half-to-even to a 32-bit integer, upper
// case, no prefix or leading zeros, negatives as two's complement. Empty when
// the value has no 32-bit form.
std::optional<std::string> FormatHex(float value);

// The trace list's fixed form: a blank before values >= 0, "." as separator
// and no "0" before it (" .25", "-2.5", " 5").
std::string FormatTraceNumber(float value);

// The number in a keypad entry: blanks are skipped; "&h" then 1..4 hex digits
// is a signed 16-bit value, 5..8 digits a signed 32-bit one (further digits
// are dropped); otherwise an optional "-", digits and at most one ".".
// Reading stops at the first character that cannot continue; no number is 0.
double ReadEntryNumber(std::string_view entry);

}  // namespace zr::emulator
