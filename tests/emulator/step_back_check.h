// Step back's exactness check, shared by the tests and the run-loop fuzzer:
// forward N stops, back M, forward M again; the states on the way back and
// at the end must equal the first pass's bit for bit.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "emulator/debugger.h"
#include "emulator/headless_host.h"
#include "stepping_check.h"

namespace zr::emulator::testing {

// The first part in which two device states differ, or an empty text.
inline std::string DeviceStateDifference(const DeviceState& a, const DeviceState& b) {
    if (auto part = StateDifference(a.machine, b.machine); !part.empty()) return part;
    if (a.io.pins != b.io.pins || a.io.i2c != b.io.i2c || a.io.portInputs != b.io.portInputs ||
        a.io.adc != b.io.adc)
        return "pins, port, ADC or I2C";
    if (a.display.Line(1) != b.display.Line(1) || a.display.Line(2) != b.display.Line(2) ||
        a.display.cursorRow() != b.display.cursorRow() ||
        a.display.cursorColumn() != b.display.cursorColumn())
        return "display";
    if (a.instructionCount != b.instructionCount) return "instruction count";
    if (a.randomState != b.randomState || std::memcmp(&a.randomLast, &b.randomLast, 4) != 0)
        return "random generator";
    if (a.keyRegister != b.keyRegister || a.shiftLevel != b.shiftLevel ||
        a.tickCount != b.tickCount || a.timerCount != b.timerCount || a.delayTicks != b.delayTicks)
        return "keys or time";
    return {};
}

// Runs the prepared device pausing at every statement start from the first
// (`statements` empty: every address is one): N steps, M steps back, M steps
// forward. An empty text when every state matches, or when the run ends
// before its stops (nothing to compare).
inline std::string CompareStepBack(const HeadlessOptions& options,
                                   const std::function<void(Emulator&)>& prepare,
                                   std::vector<machine::ProgramStatement> statements, int forward,
                                   int back) {
    if (statements.empty())
        for (int address = 1; address < machine::kProgramSize; ++address)
            statements.push_back({address, 0, 0, 0, "", 0});
    HeadlessHost host(options);
    Emulator emulator(host);
    prepare(emulator);
    Debugger debugger(emulator,
                      std::make_shared<const machine::StatementTable>(std::move(statements)));
    debugger.KeepHistory(static_cast<std::size_t>(forward) + 1);
    debugger.StepInto();
    std::vector<DeviceState> states;
    std::string failure;
    debugger.onPause = [&](Emulator& e, const PauseInfo&) {
        states.push_back(debugger.CaptureState());
        const int pauses = static_cast<int>(states.size());
        if (pauses <= forward) return debugger.StepInto();
        if (pauses <= forward + back) {
            if (!debugger.StepBack()) failure = "no earlier stop kept";
            return;
        }
        if (pauses <= forward + 2 * back) return debugger.StepInto();
        host.EndAtPause(e);
    };
    host.Run(emulator);
    if (!failure.empty()) return failure;
    if (states.size() < static_cast<std::size_t>(forward + 2 * back + 1)) return {};
    for (int k = 1; k <= back; ++k)
        if (auto part = DeviceStateDifference(states[forward + k], states[forward - k]);
            !part.empty())
            return "back " + std::to_string(k) + ": " + part;
    for (int k = 1; k <= back; ++k)
        if (auto part =
                DeviceStateDifference(states[forward + back + k], states[forward - back + k]);
            !part.empty())
            return "forward again " + std::to_string(k) + ": " + part;
    return {};
}

}  // namespace zr::emulator::testing
