#include "machine/opcodes.h"

namespace zr::machine {
namespace {

constexpr std::array<const OpcodeInfo*, 256> BuildLookup() {
    std::array<const OpcodeInfo*, 256> lookup{};
    for (const auto& info : kOpcodeTable) lookup[info.value] = &info;
    return lookup;
}

constexpr auto kLookup = BuildLookup();

}  // namespace

const OpcodeInfo* FindOpcode(std::uint8_t value) {
    return kLookup[value];
}

}  // namespace zr::machine
