// keltoc run's debugger options: --break (end the run at a statement) and
// --trace (a line per statement reached).
#pragma once

#include <iosfwd>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "emulator/debugger.h"
#include "emulator/headless_host.h"

namespace zr::cli {

struct RunDebugOptions {
    std::vector<int> breakLines;  // 1-based source lines
    bool trace = false;
    bool Wanted() const { return trace || !breakLines.empty(); }
};

// The statements of a compile with their places, for the debugger; the
// library file names for the trace's places.
struct DebugProgram {
    std::vector<emulator::DebugStatement> statements;
    std::vector<std::string> libraryNames;
};
DebugProgram DebugProgramOf(const compiler::Compiler& compiler);

// Attaches a debugger that ends the run at the first breakpoint reached and
// writes the trace lines to `out`; nullptr when no option wants one.
std::unique_ptr<emulator::Debugger> AttachDebugger(const RunDebugOptions& options,
                                                   const DebugProgram& program,
                                                   emulator::Emulator& device,
                                                   emulator::HeadlessHost& host, std::ostream& out);

// "LINE:COLUMN  ADDRESS  WORD  STACK": the stack slots 1..StackPointer in the
// trace's number form, X last.
std::string TraceLine(const emulator::Emulator& device, const emulator::DebugStatement& statement,
                      const DebugProgram& program);

// The run result's "line" and "column" of the statement the run ended before.
void AddPausePlace(nlohmann::json& result, const emulator::Debugger& debugger,
                   const emulator::Emulator& device);

}  // namespace zr::cli
