// Runs one program twice, with the run loop's fast lane on and off, and
// tells whether the two runs were the same: every pin change and display
// change in order, the stop, the errors, the serial output, the instruction
// count and the final machine state. Shared by the tests and the fuzzer.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"

namespace zr::emulator::testing {

// Two states alike bit for bit (a NaN equals the same NaN): what the tests
// use to show that two ways of running a program end in the same place.
inline bool SameBits(const MachineState& a, const MachineState& b) {
    auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return same(a.programImage, b.programImage) && same(a.valueStack, b.valueStack) &&
           a.stackPointer == b.stackPointer && same(a.lastX, b.lastX) &&
           same(a.returnStack, b.returnStack) && a.returnPointer == b.returnPointer &&
           same(a.resultRegister, b.resultRegister) && same(a.operandRegister, b.operandRegister) &&
           a.segmentEnd == b.segmentEnd && a.listPassCounter == b.listPassCounter &&
           a.runState == b.runState && a.eventFlags == b.eventFlags &&
           a.timerHandler == b.timerHandler && a.timerPeriod == b.timerPeriod &&
           a.eventHandler == b.eventHandler && a.hexMode == b.hexMode &&
           same(a.singles, b.singles) && same(a.bytes, b.bytes) && same(a.integers, b.integers);
}

// Notes each pin and display change with the instruction count it came at;
// a display change by a digest of its two lines, so a long run stays cheap.
class RecordingHost : public HeadlessHost {
  public:
    using HeadlessHost::HeadlessHost;
    struct Event {
        std::uint64_t instructions = 0;
        std::uint64_t what = 0;  // pin * 2 + value, or the display digest
        bool operator==(const Event&) const = default;
    };
    void PinChanged(int pin, int value) override {
        Note(static_cast<std::uint64_t>(pin) * 2 + value);
    }
    void DisplayChanged(const Display& display) override {
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
    std::vector<std::string> serialOut;
    std::vector<std::pair<int, int>> errors;
    std::uint64_t instructions = 0;
    MachineState machine;
    IoModel io;
};

// `prepare` loads the program and sets inputs on a fresh device.
inline RunRecord RecordRun(const HeadlessOptions& options, bool quietRun,
                           const std::function<void(Emulator&)>& prepare) {
    RecordingHost host(options);
    Emulator emulator(host);
    host.emulator = &emulator;
    emulator.SetQuietRunEnabled(quietRun);
    prepare(emulator);
    host.Run(emulator);
    RunRecord record{host.events, host.stopReason(),           host.serialOut(),
                     {},          emulator.instructionCount(), emulator.machine,
                     emulator.io};
    for (const auto& e : host.errors()) record.errors.emplace_back(e.code, e.address);
    return record;
}

// An empty text when both runs agree; otherwise what differs first.
inline std::string CompareQuietRun(const HeadlessOptions& options,
                                   const std::function<void(Emulator&)>& prepare) {
    const RunRecord fast = RecordRun(options, true, prepare);
    const RunRecord full = RecordRun(options, false, prepare);
    if (fast.instructions != full.instructions)
        return "instruction count " + std::to_string(fast.instructions) + " vs " +
               std::to_string(full.instructions);
    if (fast.events != full.events) return "pin or display changes differ";
    if (fast.stop != full.stop) return "stop reason differs";
    if (fast.errors != full.errors) return "run errors differ";
    if (fast.serialOut != full.serialOut) return "serial output differs";
    if (!SameBits(fast.machine, full.machine)) return "machine state differs";
    if (fast.io.pins != full.io.pins) return "pins differ";
    return {};
}

}  // namespace zr::emulator::testing
