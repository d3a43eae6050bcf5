// The generator behind Rnd: a 32-bit linear congruential sequence
// (state := state * 1664525 + 1013904223), whose top 24 bits give a number
// in [0, 1). The argument chooses: > 0 the next number, 0 the previous one
// again, < 0 a number fixed by the argument (the sequence restarts from it).
#include "emulator/emulator.h"

namespace zr::emulator {
namespace {

std::uint32_t Advance(std::uint32_t state) {
    return state * 1664525u + 1013904223u;
}
float ToUnit(std::uint32_t state) {
    return static_cast<float>(state >> 8) / 16777216.0f;
}

}  // namespace

float Emulator::Random(int argument) {
    if (argument == 0 && randomLast >= 0) return randomLast;
    if (argument < 0) randomState = static_cast<std::uint32_t>(-argument) * 2654435761u;
    randomState = Advance(randomState);
    randomLast = ToUnit(randomState);
    return randomLast;
}

}  // namespace zr::emulator
