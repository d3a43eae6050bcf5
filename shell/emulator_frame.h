// What the emulator's worker publishes for the windows: the latest display,
// pins, trace stack list and I2C buffer, plus the trace stops and serial lines
// produced since the last frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/io_model.h"

namespace zr::shell {

struct TraceStopView {
    int statementIndex = 0;    // into the statement map the emulator was given
    std::string line;          // "12: PRINT  ( 2)" (Windows-1251)
    bool watched = false;      // a variable is watched: watchedValue holds its text
    std::string watchedValue;  // in the display's decimal form
};

struct EmulatorFrame {
    std::array<std::string, 2> lines{std::string(16, ' '), std::string(16, ' ')};
    std::array<int, emulator::kPinCount> pins{};
    std::vector<std::string> stackLines;  // top slot first
    std::array<std::uint8_t, emulator::kI2CSize + 1> i2c{};
    bool waitingForSerialInput = false;

    std::vector<TraceStopView> stops;
    std::vector<std::string> serialOut;
    int droppedSerialLines = 0;  // lines a flooding program wrote beyond what a frame keeps
};

}  // namespace zr::shell
