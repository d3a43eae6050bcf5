// The instruction set, built from the one table in opcodes.def.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zr::machine {

// Operand bytes that follow an opcode.
enum class Operands : std::uint8_t {
    None,
    Byte,       // one unsigned byte
    Word,       // 2-byte Integer (also every absolute program address)
    Single,     // 4-byte float, least significant byte first
    Var,        // one VariableOperand
    PrintList,  // count n, then n item bytes (04 v: number; 01 p: cursor; else a character)
    Table,      // header h (bits 7-6 form, bits 5-0 count k), then the data of the form
    OnX,        // header h (bits 7-6 mode, bits 4-0 count n), then n words
    Loop,       // mode d, back distance b, then a word limit or (value list) n words
    Segm,       // word target, word return point
    Series,     // byte channel, var first, var last
    Send,       // var first, var last
    Jump,       // jump family 8A-FF: 0, 1 or 2 bytes by the address mode
};

enum Opcode : std::uint8_t {
#define OPCODE(value, id, name, word, operands, length, runClass, effect) k##id = value,
#include "machine/opcodes.def"
#undef OPCODE
};

// What the run loop does after an instruction: Plain ones change nothing it
// checks between instructions (other than by a fault or a pin change); after
// the others it makes its checks.
enum class RunClass : std::uint8_t { Plain, Attention };

struct OpcodeInfo {
    std::uint8_t value;
    std::string_view name;  // the instruction's name
    std::string_view word;  // the Kelto word that compiles to it, empty if none
    Operands operands;
    int operandBytes;  // -1: as many as the data says (print list, tables, OnX, Loop)
    RunClass runClass;
    std::string_view effect;
};

inline constexpr OpcodeInfo kOpcodeTable[] = {
#define OPCODE(value, id, name, word, operands, length, runClass, effect) \
    {value, name, word, Operands::operands, length, RunClass::runClass, effect},
#include "machine/opcodes.def"
#undef OPCODE
};

// Jump family, 8A..FF: only the low four bits L matter.
//   L div 4: 0 call, 1 goto, 2 conditional call, 3 conditional goto
//   L mod 4 (AddressMode): 0 ShortOffset byte, 1 absolute word,
//                          2 target from X (via ReadVariable), 3 var operand
// ShortOffset: target = (address of the byte after the offset) + offset - 129.
inline constexpr std::uint8_t kFirstJumpOpcode = 0x8A;
inline constexpr std::uint8_t kCallBase = 0xF0;
inline constexpr std::uint8_t kGoToBase = 0xF4;
inline constexpr std::uint8_t kCallIfBase = 0xF8;
inline constexpr std::uint8_t kGoToIfBase = 0xFC;

enum class JumpKind : std::uint8_t { Call, GoTo, CallIf, GoToIf };
enum class AddressMode : std::uint8_t { Short, Absolute, FromX, FromVariable };

constexpr bool IsJump(std::uint8_t opcode) {
    return opcode >= kFirstJumpOpcode;
}
constexpr JumpKind JumpKindOf(std::uint8_t opcode) {
    return static_cast<JumpKind>((opcode & 0x0F) >> 2);
}
constexpr AddressMode AddressModeOf(std::uint8_t opcode) {
    return static_cast<AddressMode>(opcode & 0x03);
}

// Table header forms (bits 7-6 of the byte after 70).
inline constexpr std::uint8_t kTableBytes = 0x00;
inline constexpr std::uint8_t kTableIntegers = 0x40;
inline constexpr std::uint8_t kTableMessages = 0x80;
inline constexpr std::uint8_t kTableInitialisation = 0xC0;

// The table entry of an opcode, or nullptr for unassigned ones and the jump family.
const OpcodeInfo* FindOpcode(std::uint8_t value);

// Every entry's value is strictly ascending, so FindOpcode can use a lookup array.
constexpr bool OpcodeTableIsSorted() {
    for (std::size_t i = 1; i < std::size(kOpcodeTable); ++i)
        if (kOpcodeTable[i - 1].value >= kOpcodeTable[i].value) return false;
    return true;
}
static_assert(OpcodeTableIsSorted(), "opcodes.def must list opcodes in ascending order");
static_assert(kOpcodeTable[std::size(kOpcodeTable) - 1].value < kFirstJumpOpcode);

}  // namespace zr::machine
