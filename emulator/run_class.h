// The run loop's class of every byte value: from the instruction table, the
// jump family Plain, unassigned values Attention (they fault anyway).
#pragma once

#include <array>
#include <cstdint>

#include "machine/opcodes.h"

namespace zr::emulator {

using machine::RunClass;

namespace detail {
constexpr std::array<RunClass, 256> MakeRunClasses() {
    std::array<RunClass, 256> classes{};
    classes.fill(RunClass::Attention);
    for (const auto& info : machine::kOpcodeTable) classes[info.value] = info.runClass;
    for (int op = machine::kFirstJumpOpcode; op <= 0xFF; ++op) classes[op] = RunClass::Plain;
    return classes;
}
}  // namespace detail

inline constexpr std::array<RunClass, 256> kRunClasses = detail::MakeRunClasses();

constexpr RunClass RunClassOf(std::uint8_t op) {
    return kRunClasses[op];
}

}  // namespace zr::emulator
