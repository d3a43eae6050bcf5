// What the run loop must do after an instruction: Plain ones change nothing
// the loop checks between instructions (other than by a fault or a pin
// change, which raise attention themselves); the others may talk to the
// host, the display, the keys, the event flags, the segment or the run
// state, so the loop makes its checks after them.
#pragma once

#include <array>
#include <cstdint>

#include "machine/opcodes.h"

namespace zr::emulator {

enum class RunClass : std::uint8_t { Plain, Attention };

namespace detail {
constexpr std::array<RunClass, 256> MakeRunClasses() {
    using namespace machine;
    std::array<RunClass, 256> classes{};
    classes.fill(RunClass::Attention);
    auto plain = [&](int first, int last) {
        for (int op = first; op <= last; ++op) classes[op] = RunClass::Plain;
    };
    plain(kNop, kAdd);
    plain(kE, kPeek2);
    plain(kRol, kPoke2);
    plain(kiM, kStoreElement);
    for (int op : {kDrop, kDup, kDupN, kRet, kRetIf, kPushByte, kPushInt, kPushSingle, kOnX, kRetN,
                   kSwapN, kOver, kLoop, kSkipIfZero, kHex16, kHex10})
        classes[op] = RunClass::Plain;
    plain(kFirstJumpOpcode, 0xFF);
    return classes;
}
}  // namespace detail

inline constexpr std::array<RunClass, 256> kRunClasses = detail::MakeRunClasses();

constexpr RunClass RunClassOf(std::uint8_t op) {
    return kRunClasses[op];
}

}  // namespace zr::emulator
