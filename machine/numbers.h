// Reading number texts and the rounding every float-to-whole conversion uses.
#pragma once

#include <optional>
#include <string_view>

namespace zr::machine {

// The value read from the start of a text: an optional sign, digits with an
// optional decimal point and an optional exponent (E, an optional sign,
// digits), or a hexadecimal number after the prefix &H. Reading stops at the
// first character that cannot continue the number; a text that does not begin
// with a number reads as 0. So "12abc" reads 12 and "&H1F" reads 31.
double ReadNumber(std::string_view text);

// The value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// True when the text is exactly "0" or reads as a non-zero number: "0" and
// "12abc" are numeric; "0.0", "00", "-0" and "abc" are not.
bool IsNumericText(std::string_view text);

// Nearest whole number, ties to the even neighbour.
double RoundHalfEven(double value);

// RoundHalfEven, then the value if it lies within lo..hi.
std::optional<long> RoundToRange(double value, long lo, long hi);

}  // namespace zr::machine
