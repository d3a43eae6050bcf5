// Runs a loaded scenario on an emulator of its own, step by step, and says
// whether it passed or which step failed, with what it expected and found.
// Thread-safe across scenarios: each run owns its device, so several run at
// once (keltoc test -j, a worker thread of the environment).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "scenario/scenario.h"

namespace zr::scenario {

struct StepFailure {
    int line = 0;
    std::string keyword;
    std::string expected;  // UTF-8
    std::string actual;    // UTF-8
};

struct ScenarioResult {
    std::optional<StepFailure> failure;  // none: passed
    std::array<std::string, 2> display;  // the lines at the end, Windows-1251
    std::uint64_t instructions = 0;      // executed in the run
    bool passed() const { return !failure; }
};

ScenarioResult RunScenario(const Scenario& scenario);

}  // namespace zr::scenario
