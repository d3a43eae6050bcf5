// The listing: a program image decoded instruction by instruction from the
// opcode table, with operands in words (names, targets, texts).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "machine/image.h"

namespace zr::machine {

// Names the decoder may use; either may be empty, or return "" for "unknown".
struct ListingNames {
    std::function<std::string(std::uint8_t operand)> variable;  // by VariableOperand
    std::function<std::string(int address)> label;              // by program address
};

struct DecodedInstruction {
    int address = 0;
    std::vector<std::uint8_t> bytes;  // the opcode and its operand bytes
    std::string name;                 // from the opcode table; "?" for an unassigned byte
    std::string operands;             // decoded, UTF-8
};

// The instruction at `address` (1..1024). Inline data that would run past
// the end of memory stops at cell 1024.
DecodedInstruction DecodeInstruction(const ProgramImage& image, int address,
                                     const ListingNames& names = {});

// Every instruction from `first` up to (not including) `end`, back to back.
std::vector<DecodedInstruction> DecodeImage(const ProgramImage& image, int first, int end,
                                            const ListingNames& names = {});

// "   13  66  End": the address right-aligned in five places, the bytes as
// upper-case hex, the name and the operands.
std::string FormatInstruction(const DecodedInstruction& instruction);

}  // namespace zr::machine
