// Everything of the device that a program's run changes, as one value: what
// the debugger's step back keeps per statement stop and puts back, and what
// a snapshot file holds. It is the Emulator's own storage, so capturing is
// one copy and restoring one assignment (CaptureDeviceState /
// RestoreDeviceState, or Emulator::state and RestoreState).
#pragma once

#include <cstdint>

#include "emulator/display.h"
#include "emulator/io_model.h"
#include "emulator/keypad.h"
#include "emulator/machine.h"

namespace zr::emulator {

class Emulator;

// The Emulator keeps its device in one of these (its own storage).
struct DeviceState {
    MachineState machine;  // memory, stacks, registers, variables, events, timer
    IoModel io;            // pins, port and ADC inputs, I2C
    Display display;
    std::uint8_t keyRegister = kNoKey;
    std::uint8_t shiftLevel = 0;
    int tickCount = 0;
    int delayTicks = 0;
    int timerCount = 0;
    std::uint64_t instructionCount = 0;
    std::uint32_t randomState = 0x2545F491u;
    float randomLast = -1;              // -1: no number drawn yet
    std::uint64_t serialLinesRead = 0;  // lines read while the serial replay records
};

DeviceState CaptureDeviceState(const Emulator& emulator);
// Puts the state back and raises the attention flag, so a running loop looks
// at it before its next instruction. The serial replay rewinds to the
// state's position (lines read after it are read again while replay keeps them).
void RestoreDeviceState(Emulator& emulator, const DeviceState& state);

}  // namespace zr::emulator
