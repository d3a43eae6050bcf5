#include "emulator/predecoded.h"

#include "machine/image.h"
#include "machine/opcodes.h"

namespace zr::emulator {

using namespace machine;

namespace {

Decoded Plain(std::uint8_t op) {
    return {op, 1, 0, 0, 0};
}

Decoded Variable(std::uint8_t op, std::uint8_t operand, std::uint16_t single,
                 std::uint16_t integer) {
    if (NamesSingle(operand)) return {single, 2, operand, 0, 0};
    if (NamesInteger(operand))
        return {integer, 2, static_cast<std::uint8_t>(IntegerIndexOf(operand)), 0, 0};
    return Plain(op);
}

Decoded Jump(std::uint8_t op, const ProgramMemory& memory, int address) {
    constexpr std::uint16_t kKinds[] = {kCall, kGoTo, kCallIf, kGoToIf};
    const std::uint16_t kind = kKinds[static_cast<int>(JumpKindOf(op))];
    switch (AddressModeOf(op)) {
        case AddressMode::Short: {
            // From the byte after the offset; a target outside 0..1024 faults.
            const int target = memory[address + 1] - 129 + address + 2;
            if (target < 0 || target > kProgramSize) return Plain(op);
            return {kind, 2, 0, 0, target};
        }
        case AddressMode::Absolute:
            return {kind, 3, 0, 0, DecodeInteger(memory[address + 1], memory[address + 2])};
        default:
            return Plain(op);  // the target is read at run time
    }
}

int OperandBytesOf(std::uint8_t op) {
    if (IsJump(op)) {
        switch (AddressModeOf(op)) {
            case AddressMode::Absolute:
                return 2;
            case AddressMode::FromX:
                return 0;
            default:
                return 1;
        }
    }
    const OpcodeInfo* info = FindOpcode(op);
    return info ? info->operandBytes : 0;
}

}  // namespace

Decoded DecodeAt(const ProgramMemory& memory, int address) {
    const std::uint8_t op = memory[address];
    // Operands past the last cell: the instruction faults as it fetches them.
    if (address + OperandBytesOf(op) > kProgramSize) return Plain(op);
    if (IsJump(op)) return Jump(op, memory, address);
    switch (op) {
        case kiM:
            return Variable(op, memory[address + 1], kLoadSingle, kLoadInteger);
        case kMv:
            return Variable(op, memory[address + 1], kStoreSingle, kStoreInteger);
        case kPushByte:
            return {kPushConstant, 2, 0, static_cast<float>(memory[address + 1]), 0};
        case kPushInt:
            return {kPushConstant, 3, 0,
                    static_cast<float>(DecodeInteger(memory[address + 1], memory[address + 2])), 0};
        case kPushSingle:
            return {kPushConstant, 5, 0, SingleFromBytes(memory.data() + address + 1), 0};
        case kSkipIfZero:
            return {kSkip, 2, 0, 0, memory[address + 1]};
        default:
            return Plain(op);
    }
}

}  // namespace zr::emulator
