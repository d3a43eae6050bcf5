// Runs any program image with any key script on the headless emulator for a
// bounded number of instructions. The first 1024 bytes are program cells
// 1..1024; each further byte is one scripted token, optionally timed. Each
// input runs twice, through the run loop and single-stepping (back to the
// host after every instruction), and the two runs must agree in everything
// the outside can see; the byte after the program also picks the
// instructions per tick. Then step back: forward N instructions, back M,
// forward M, and the device states must match (no ticks: the host's clock
// is not part of the device state).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "machine/image.h"
#include "tests/emulator/step_back_check.h"
#include "tests/emulator/stepping_check.h"

namespace {

using zr::emulator::KeyToken;
using zr::emulator::ScriptAction;

KeyToken TokenOf(std::uint8_t byte, std::uint64_t& clock) {
    KeyToken token;
    const int choice = byte % 22;
    if (choice < 16) {
        token.keyIndex = static_cast<std::uint8_t>(choice);
    } else {
        constexpr ScriptAction kCommands[] = {ScriptAction::RunFrom1, ScriptAction::Run,
                                              ScriptAction::Stop,     ScriptAction::Address1,
                                              ScriptAction::Tick,     ScriptAction::Tick};
        token.action = kCommands[choice - 16];
    }
    if (byte & 0x80) token.at = clock += (byte & 0x60) * 64 + 1;  // a timed token
    return token;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zr::machine::ProgramImage image{};
    const std::size_t programBytes =
        size < zr::machine::kProgramSize ? size : zr::machine::kProgramSize;
    for (std::size_t i = 0; i < programBytes; ++i) image[i + 1] = data[i];

    zr::emulator::HeadlessOptions options;
    // Ticks at any count, so that checkpoints fall inside fused units.
    options.instructionsPerTick =
        size > zr::machine::kProgramSize ? 1 + data[zr::machine::kProgramSize] % 64 * 17 : 500;
    options.maxInstructions = 50'000;
    // Numbers for INPUT, then the LOAD monitor's memory command: cell 12 := 48.
    options.serialIn = {"1", "2.5", "-3", "24683", "5", "12", "12", "48", "24683", "9"};
    std::uint64_t clock = 0;
    // Enter twice first: past the greeting and the start-address prompt.
    options.keys = {KeyToken{ScriptAction::Key, 15, {}}, KeyToken{ScriptAction::Key, 15, {}}};
    for (std::size_t i = programBytes; i < size && options.keys.size() < 64; ++i)
        options.keys.push_back(TokenOf(data[i], clock));

    // Once through the loop and once single-stepping: the same run.
    const std::string difference = zr::emulator::testing::CompareWithStepping(
        options, [&](zr::emulator::Emulator& emulator) { emulator.LoadProgram(image); });
    if (!difference.empty()) {
        std::fprintf(stderr, "the run loop differs from single steps: %s\n", difference.c_str());
        std::abort();
    }

    zr::emulator::HeadlessOptions stepping;
    stepping.instructionsPerTick = 1'000'000'000;
    stepping.maxInstructions = 5'000;
    stepping.serialIn = options.serialIn;
    stepping.keys = {options.keys[0], options.keys[1]};
    const int forward = 1 + (size > 0 ? data[size - 1] % 64 : 0);
    const int back = 1 + (size > 1 ? data[size - 2] % forward : 0);
    const std::string stepBack = zr::emulator::testing::CompareStepBack(
        stepping, [&](zr::emulator::Emulator& emulator) { emulator.LoadProgram(image); }, {},
        forward, back);
    if (!stepBack.empty()) {
        std::fprintf(stderr, "step back is not exact: %s\n", stepBack.c_str());
        std::abort();
    }
    return 0;
}
