// A snapshot file: the whole device state with what the host needs to go on
// (which program it came from, how far the serial channel had got), framed
// by a magic, a format version and a checksum. Reading checks everything
// before it hands back a value, so a refused file changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "emulator/device_state.h"
#include "machine/image.h"

namespace zr::emulator {

inline constexpr std::string_view kSnapshotMagic{"ZR7340SS", 8};
inline constexpr std::uint16_t kSnapshotVersion = 1;

struct Snapshot {
    DeviceState device;
    std::uint32_t programId = 0;       // ProgramIdOf the image the run started from
    std::uint64_t serialLinesIn = 0;   // lines the host's serial input had given
    std::uint64_t serialLinesOut = 0;  // lines the program had written
};

// Tells programs apart: a CRC-32 of cells 1..1024.
std::uint32_t ProgramIdOf(const machine::ProgramImage& image);

std::string WriteSnapshot(const Snapshot& snapshot);
// Nothing, with `error` set to why, for a foreign, truncated, damaged or
// newer file, or one whose values no device could hold.
std::optional<Snapshot> ReadSnapshot(std::string_view bytes, std::string& error);

}  // namespace zr::emulator
