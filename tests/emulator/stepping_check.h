// Runs one program twice, through the run loop as it is and single-stepping
// (the host keeps input pending, so the loop comes back to it and makes all
// its checks after every instruction), and tells whether the two runs were
// the same: every pin change and display change in order, the stop, the
// errors, the serial output, the instruction count and the final machine
// state. Shared by the tests and the fuzzer.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"

namespace zr::emulator::testing {

// The first part in which two states differ bit for bit (a NaN equals the
// same NaN), or an empty text: what the tests use to show that two ways of
// running a program end in the same place.
inline std::string StateDifference(const MachineState& a, const MachineState& b) {
    auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    const std::pair<const char*, bool> parts[] = {
        {"program memory", a.programImage == b.programImage},
        {"value stack", same(a.valueStack, b.valueStack)},
        {"stack pointer", a.stackPointer == b.stackPointer},
        {"LastX", same(a.lastX, b.lastX)},
        {"return stack", same(a.returnStack, b.returnStack)},
        {"return pointer", a.returnPointer == b.returnPointer},
        {"result register", same(a.resultRegister, b.resultRegister)},
        {"operand register", same(a.operandRegister, b.operandRegister)},
        {"segment end", a.segmentEnd == b.segmentEnd},
        {"list pass counter", a.listPassCounter == b.listPassCounter},
        {"run state", a.runState == b.runState},
        {"event flags", a.eventFlags == b.eventFlags},
        {"timer", a.timerHandler == b.timerHandler && a.timerPeriod == b.timerPeriod},
        {"event handler", a.eventHandler == b.eventHandler},
        {"hex mode", a.hexMode == b.hexMode},
        {"variables",
         same(a.singles, b.singles) && same(a.bytes, b.bytes) && same(a.integers, b.integers)},
    };
    for (const auto& [name, equal] : parts)
        if (!equal) return name;
    return {};
}

// Notes each pin and display change with the instruction count it came at;
// a display change by a digest of its two lines, so a long run stays cheap.
class RecordingHost : public HeadlessHost {
  public:
    RecordingHost(HeadlessOptions options, bool singleStep) : HeadlessHost(std::move(options)) {
        // Pump delivers nothing here, so the pending flag changes nothing but
        // the loop's pace: one instruction between two visits to the host.
        if (singleStep) SetPending(true);
    }
    struct Event {
        std::uint64_t instructions = 0;
        std::uint64_t what = 0;  // pin * 2 + value, or the display digest
        bool operator==(const Event&) const = default;
    };
    void PinChanged(int pin, int value) override {
        Note(static_cast<std::uint64_t>(pin) * 2 + value);
    }
    void DisplayChanged(Emulator&, const Display& display) override {
        const std::string lines = std::string(display.Line(1)) + std::string(display.Line(2));
        Note(std::hash<std::string>{}(lines) | 1ull << 63);
    }
    void Note(std::uint64_t what) {
        events.push_back({emulator ? emulator->instructionCount() : 0, what});
    }
    const Emulator* emulator = nullptr;
    std::vector<Event> events;
};

struct RunRecord {
    std::vector<RecordingHost::Event> events;
    StopReason stop = StopReason::None;
    std::deque<std::string> serialOut;
    std::vector<std::pair<int, int>> errors;
    std::uint64_t instructions = 0;
    MachineState machine;
    IoModel io;
};

// `prepare` loads the program and sets inputs on a fresh device.
inline RunRecord RecordRun(const HeadlessOptions& options, bool singleStep,
                           const std::function<void(Emulator&)>& prepare) {
    RecordingHost host(options, singleStep);
    Emulator emulator(host);
    host.emulator = &emulator;
    prepare(emulator);
    host.Run(emulator);
    RunRecord record{host.events, host.stopReason(),           host.serialOut(),
                     {},          emulator.instructionCount(), emulator.machine,
                     emulator.io};
    for (const auto& e : host.errors()) record.errors.emplace_back(e.code, e.address);
    return record;
}

// An empty text when both runs agree; otherwise what differs first.
inline std::string CompareWithStepping(const HeadlessOptions& options,
                                       const std::function<void(Emulator&)>& prepare) {
    const RunRecord fast = RecordRun(options, false, prepare);
    const RunRecord full = RecordRun(options, true, prepare);
    if (fast.instructions != full.instructions)
        return "instruction count " + std::to_string(fast.instructions) + " vs " +
               std::to_string(full.instructions);
    if (fast.events != full.events) return "pin or display changes differ";
    if (fast.stop != full.stop) return "stop reason differs";
    if (fast.errors != full.errors) return "run errors differ";
    if (fast.serialOut != full.serialOut) return "serial output differs";
    if (const std::string part = StateDifference(fast.machine, full.machine); !part.empty())
        return "machine state differs: " + part;
    if (fast.io.pins != full.io.pins) return "pins differ";
    return {};
}

}  // namespace zr::emulator::testing
