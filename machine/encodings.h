// The encodings inside instructions' inline data, written by the compiler
// and read by the interpreter: defined here once.
#pragma once

#include <cstdint>

#include "machine/image.h"

namespace zr::machine {

// Variable words. A loop limit, an OnX entry or a jump parameter word above
// the base names a variable: word = 32500 + VariableOperand. Smaller words
// are numbers.
inline constexpr int kVariableWordBase = 32500;

// The operand a variable word names (word - 32500, which may exceed 255 in a
// damaged image), or -1 when the word is a number.
constexpr int VariableWordOperand(int word) {
    return word > kVariableWordBase ? word - kVariableWordBase : -1;
}

// Print list, the operand of ? (6E) and ! (6F): a count byte n, then n bytes
// of items:
//   04 v    show variable v as a number
//   01 p    move the cursor to p
//   c       any other byte: show the character c
// Cursor byte p:
//   7     6      5   4..0
//   clr   line1  -   column 1..16 as written (column 16 sets bit 4)
// The device reads the column from bits 3..0 only.
inline constexpr std::uint8_t kPrintItemNumber = 0x04;
inline constexpr std::uint8_t kPrintItemCursor = 0x01;
inline constexpr std::uint8_t kCursorClear = 0x80;
inline constexpr std::uint8_t kCursorLine1 = 0x40;
inline constexpr std::uint8_t kCursorColumnRead = 0x0F;

// Table header h (after 70):  7..6 form (kTableBytes ... in opcodes.h), 5..0 count k.
inline constexpr std::uint8_t kTableFormBits = 0xC0;
inline constexpr std::uint8_t kTableCountBits = 0x3F;

// An initialisation table entry: an operand c, then the value in the width
// c names: a word for c above 128 (Integers, and the names from 252 on), a
// byte for 33..128 (Bytes), a Single for 0..32.
enum class InitialValueWidth : std::uint8_t { Word, Byte, Single };
constexpr InitialValueWidth InitialValueWidthOf(std::uint8_t operand) {
    if (operand > kIntegerOperandBase) return InitialValueWidth::Word;
    if (operand > kByteOperandBase) return InitialValueWidth::Byte;
    return InitialValueWidth::Single;
}

// OnX header h (after 75):  7..6 mode, 5 unused, 4..0 count n of words that follow.
//   mode 0 search the words for X, 1 call entry X, 2 push entry X, 3 go to entry X
inline constexpr int kOnXModeShift = 6;
inline constexpr std::uint8_t kOnXCountBits = 0x1F;

// Loop mode byte d (after 7B), then the back distance b:
//   counted:   7..4 0, 3 counting down, 2..0 the loop variable i..o (1..7)
//   compare:   7..4 0, 3 "while X = limit" (clear: while X <> limit), 2..0 0
//   list:      4 set, 3..0 the number n of words that follow
inline constexpr std::uint8_t kLoopValueList = 0x10;
inline constexpr std::uint8_t kLoopListCountBits = 0x0F;
inline constexpr std::uint8_t kLoopDownOrEqual = 0x08;
inline constexpr std::uint8_t kLoopVariableBits = 0x07;

}  // namespace zr::machine
