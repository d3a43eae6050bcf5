// A device with a headless host, and a small assembler for hand-made images.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "machine/image.h"
#include "machine/opcodes.h"

namespace zr::emulator::testing {

using Code = std::vector<std::uint8_t>;

inline void Append(Code& code, std::uint8_t byte) {
    code.push_back(byte);
}
inline void Append(Code& code, const Code& more) {
    code.insert(code.end(), more.begin(), more.end());
}
// Ops(kPushByte, 3, Word(500), ...): the bytes of the parts in order.
template <class... Parts>
Code Ops(const Parts&... parts) {
    Code code;
    (Append(code, parts), ...);
    return code;
}

inline Code Word(int value) {
    machine::ProgramImage scratch{};
    machine::StoreInteger(scratch, 1, value);
    return {scratch[1], scratch[2]};
}
inline Code PushByte(int value) {
    return Ops(machine::kPushByte, value);
}
inline Code PushInt(int value) {
    return Ops(machine::kPushInt, Word(value));
}
inline Code PushSingle(float value) {
    const auto b = machine::SingleBytes(value);
    return Ops(machine::kPushSingle, Code(b.begin(), b.end()));
}

// Keys for a scripted run: "enter,enter" etc.
inline std::vector<KeyToken> Keys(const std::string& list) {
    std::string error;
    auto tokens = ParseKeyTokens(list, error);
    EXPECT_TRUE(tokens) << error;
    return tokens ? *tokens : std::vector<KeyToken>{};
}

// Names a parameterised case by its `name` field.
inline constexpr auto kByName = [](const auto& info) { return std::string(info.param.name); };

// An emulator on a headless host, or on a test's own kind of headless host.
template <class H = HeadlessHost>
struct DeviceOn {
    explicit DeviceOn(HeadlessOptions options = {}) : host(std::move(options)) {}
    explicit DeviceOn(const std::string& keys, std::uint64_t maxInstructions = 10'000'000,
                      std::uint64_t instructionsPerTick = 10000)
        : host(HeadlessOptions{Keys(keys), instructionsPerTick, maxInstructions}) {}

    void Put(int address, const Code& code) { emulator.WriteProgram(address, code); }
    // Places the code at `address` and makes it the running program.
    void Load(const Code& code, int address = 1) {
        Put(address, code);
        m.returnPointer = 1;
        m.SetProgramCounter(address);
        m.runState = kRunning;
    }
    // Steps until the program counter reaches `end`, the run state changes
    // or `limit` instructions have run.
    void StepUntil(int end, int limit = 10000) {
        for (int i = 0; i < limit && m.runState == kRunning && m.ProgramCounter() != end; ++i)
            emulator.Step();
    }
    // Runs the code from 1 with `stack` pushed first, to its last byte.
    void RunCode(const Code& code, const std::vector<float>& stack = {}) {
        Load(code);
        for (float v : stack) m.PushValue(v);
        StepUntil(1 + static_cast<int>(code.size()));
    }
    // Runs the firmware loop with the code at 1 until the host stops it.
    void Run(const Code& code = {}) {
        Put(1, code);
        host.Run(emulator);
    }
    float X() { return m.X(); }
    int RunState() const { return m.runState; }
    StopReason Stop() const { return host.stopReason(); }
    std::string Line(int row) const { return std::string(emulator.display().Line(row)); }

    H host;
    Emulator emulator{host};
    MachineState& m = emulator.machine;
};
using Device = DeviceOn<>;

}  // namespace zr::emulator::testing
