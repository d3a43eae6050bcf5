// How the main window hands a compiled program to the emulator and trace
// windows, which plug in here when they exist.
#pragma once

#include <functional>

#include "compiler/compiler.h"

namespace zr::shell {

enum class EmulatorStart {
    AfterRun,     // the run command compiled it: clear the Single and Integer areas first
    LastCompile,  // the emulator command: the program memory of the last compile as it is
};

// Opens the emulator window on `lastCompile` and starts its run loop.
using EmulatorOpener = std::function<void(const compiler::Compiler& lastCompile, EmulatorStart)>;

// Opens the trace window.
using TraceOpener = std::function<void(const compiler::Compiler& lastCompile)>;

}  // namespace zr::shell
