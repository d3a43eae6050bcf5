// A device with a headless host, and a small assembler for hand-made images.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "machine/image.h"
#include "machine/opcodes.h"

namespace zr::emulator::testing {

// Program bytes built piece by piece: Code{} << op << PushByte(3) << ...
struct Code {
    std::vector<std::uint8_t> bytes;
    Code& operator<<(std::uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    Code& operator<<(std::initializer_list<std::uint8_t> list) {
        bytes.insert(bytes.end(), list);
        return *this;
    }
    Code& operator<<(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
};

inline std::vector<std::uint8_t> Word(int value) {
    machine::ProgramImage scratch{};
    machine::StoreInteger(scratch, 1, value);
    return {scratch[1], scratch[2]};
}
inline std::vector<std::uint8_t> PushByte(int value) {
    return {machine::kPushByte, static_cast<std::uint8_t>(value)};
}
inline std::vector<std::uint8_t> PushInt(int value) {
    auto w = Word(value);
    return {machine::kPushInt, w[0], w[1]};
}
inline std::vector<std::uint8_t> PushSingle(float value) {
    const auto b = machine::SingleBytes(value);
    return {machine::kPushSingle, b[0], b[1], b[2], b[3]};
}

struct Device {
    explicit Device(HeadlessOptions options = {}) : host(std::move(options)), emulator(host) {}

    // Places the code at `address` and makes it the running program.
    void Load(const Code& code, int address = 1) {
        for (std::size_t i = 0; i < code.bytes.size(); ++i)
            emulator.machine.programImage[address + i] = code.bytes[i];
        emulator.machine.returnPointer = 1;
        emulator.machine.SetProgramCounter(address);
        emulator.machine.runState = kRunning;
    }
    void Push(std::initializer_list<float> values) {
        for (float v : values) emulator.machine.PushValue(v);
    }
    // Steps until the program counter reaches `end`, the run state changes
    // or `limit` instructions have run.
    void StepUntil(int end, int limit = 10000) {
        auto& m = emulator.machine;
        for (int i = 0; i < limit && m.runState == kRunning && m.ProgramCounter() != end; ++i)
            emulator.Step();
    }
    void RunCode(const Code& code, std::initializer_list<float> stack = {}) {
        Load(code);
        Push(stack);
        StepUntil(1 + static_cast<int>(code.bytes.size()));
    }
    float X() { return emulator.machine.X(); }
    int RunState() const { return emulator.machine.runState; }
    std::string Line(int row) const { return std::string(emulator.display().Line(row)); }

    HeadlessHost host;
    Emulator emulator;
};

// Keys for a scripted run: "enter,enter" etc.
inline std::vector<KeyToken> Keys(const std::string& list) {
    std::string error;
    auto tokens = ParseKeyTokens(list, error);
    EXPECT_TRUE(tokens) << error;
    return tokens ? *tokens : std::vector<KeyToken>{};
}

}  // namespace zr::emulator::testing
