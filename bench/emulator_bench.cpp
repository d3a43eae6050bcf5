// Emulated instructions per second: the bare interpreter, the full run loop
// with the headless host (key poll and pin updates each instruction), the
// same with a debugger attached (no breakpoint, or 10 never reached), and a
// native loop doing the same arithmetic.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "emulator/debugger.h"
#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "machine/opcodes.h"

namespace {

using namespace zr;
using namespace zr::machine;

// s1 := s1 / 3 + 7; i1 := i1 + 1; if i1 < 30000 repeat; else i1 := 0 and repeat.
//  1: iM s1; PushByte 3; /; PushByte 7; +; Mv s1
// 11: iM i1; Incr; Mv i1; iM i1; PushInt 30000; <; GoToIf (short) 1
// 25: PushByte 0; Mv i1; GoTo 1
constexpr int kLoopInstructions = 13;  // per pass of the main loop
// The short offset b of the conditional goto at 22 counts from the byte after
// it: target 1 = 24 + b - 129.
constexpr std::uint8_t kBackToOne = 129 - 24 + 1;
const std::vector<std::uint8_t> kProgram = {
    kiM,       1,    kPushByte,  3,   kDivide, kPushByte, 7,   kAdd,     kMv,  1,  //
    kiM,       129,  kIncr,      kMv, 129,     kiM,       129, kPushInt, 0x75, 0x30,
    kLess,     0xFC, kBackToOne,  //
    kPushByte, 0,    kMv,        129, 0xF5,    0x00,      0x01};

void LoadLoop(emulator::Emulator& device) {
    device.WriteProgram(1, kProgram);
}

void BareInterpreter(benchmark::State& state) {
    emulator::HeadlessHost host({});
    emulator::Emulator device(host);
    LoadLoop(device);
    device.machine.runState = emulator::kRunning;
    device.machine.SetProgramCounter(1);
    std::int64_t executed = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) device.Step();
        executed += 1000;
    }
    if (device.machine.runState != emulator::kRunning) state.SkipWithError("run stopped");
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(executed), benchmark::Counter::kIsRate);
}
BENCHMARK(BareInterpreter);

// The benchmark loop's three statement starts, for a debugger.
const auto kLoopStatements =
    std::make_shared<const machine::StatementTable>(std::vector<machine::ProgramStatement>{
        {1, 1, 1, 0, "iM", 0}, {11, 2, 1, 0, "iM", 0}, {25, 3, 1, 0, "PushByte", 0}});

// Runs the loop for `instructions` through the headless host, past the
// greeting and the prompt; `arm` may attach a debugger to the device first.
// False when the run ended before its count.
bool RunLoop(
    std::uint64_t instructions,
    const std::function<void(emulator::Emulator&, std::optional<emulator::Debugger>&)>& arm = {}) {
    emulator::HeadlessOptions options;
    std::string error;
    options.keys = *emulator::ParseKeyTokens("enter,enter", error);
    options.maxInstructions = instructions;
    emulator::HeadlessHost host(options);
    emulator::Emulator device(host);
    LoadLoop(device);
    std::optional<emulator::Debugger> debugger;
    if (arm) arm(device, debugger);
    host.Run(device);
    return host.stopReason() == emulator::StopReason::MaxInstructions;
}

void FullRunLoop(benchmark::State& state) {
    constexpr std::uint64_t kInstructions = 20'000'000;
    std::uint64_t executed = 0;
    for (auto _ : state) {
        if (!RunLoop(kInstructions)) state.SkipWithError("run ended early");
        executed += kInstructions;
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(executed), benchmark::Counter::kIsRate);
}
BENCHMARK(FullRunLoop)->Unit(benchmark::kMillisecond);

// FullRunLoop with a debugger attached and range(0) breakpoints on addresses
// the loop never reaches.
void FullRunLoopDebugger(benchmark::State& state) {
    constexpr std::uint64_t kInstructions = 20'000'000;
    std::uint64_t executed = 0;
    for (auto _ : state) {
        const bool full = RunLoop(kInstructions, [&](emulator::Emulator& device, auto& debugger) {
            debugger.emplace(device, kLoopStatements);
            for (int k = 0; k < state.range(0); ++k) debugger->AddBreakpoint(100 + k);
        });
        if (!full) state.SkipWithError("run ended early");
        executed += kInstructions;
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(executed), benchmark::Counter::kIsRate);
}
BENCHMARK(FullRunLoopDebugger)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

// Step back's history: the device state kept at each of the loop's three
// statement starts (1 and 11 every pass; 25 once in 30,000), the last 10,000
// of them; counts stops per second.
void StepBackHistory(benchmark::State& state) {
    constexpr std::uint64_t kInstructions = 2'000'000;
    std::uint64_t stops = 0;
    for (auto _ : state) {
        RunLoop(kInstructions, [](emulator::Emulator& device, auto& debugger) {
            debugger.emplace(device, kLoopStatements);
            debugger->KeepHistory(10000);
        });
        stops += 2 * kInstructions / kLoopInstructions;  // 1 and 11 each pass
    }
    state.counters["stops/s"] =
        benchmark::Counter(static_cast<double>(stops), benchmark::Counter::kIsRate);
    state.counters["bytes/stop"] = sizeof(emulator::DeviceState);
}
BENCHMARK(StepBackHistory)->Unit(benchmark::kMillisecond);

// The same work in C++: one "instruction" counted per emulated instruction
// the loop stands for, so the rates compare directly. A plain loop; only its
// result leaves it, printed once, so the compiler cannot drop the work.
float NativePasses(std::int64_t passes, float s1) {
    std::int16_t i1 = 0;
    for (std::int64_t pass = 0; pass < passes; ++pass) {
        s1 = s1 / 3 + 7;
        if (++i1 >= 30000) i1 = 0;
    }
    return s1 + i1;
}

void NativeLoop(benchmark::State& state) {
    constexpr std::int64_t kPasses = 1'000'000;
    float result = 0;
    std::int64_t executed = 0;
    for (auto _ : state) {
        result = NativePasses(kPasses, result);
        executed += kPasses * kLoopInstructions;
    }
    std::fprintf(stderr, "NativeLoop result: %g\n", static_cast<double>(result));
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(executed), benchmark::Counter::kIsRate);
}
BENCHMARK(NativeLoop);

}  // namespace

// `emulator_bench --write-loop FILE` writes the loop as a 1024-byte program
// file instead, for instruction counts of the whole run loop under callgrind.
int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--write-loop") {
        std::vector<std::uint8_t> cells(zr::machine::kProgramSize, 0);
        std::copy(kProgram.begin(), kProgram.end(), cells.begin());
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(cells.data()),
                  static_cast<std::streamsize>(cells.size()));
        return out ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
