// keltoc run's debugger options: --break (end the run at a statement) and
// --trace (a line per statement reached).
#pragma once

#include <iosfwd>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "emulator/debugger.h"
#include "emulator/headless_host.h"

namespace zr::cli {

struct RunDebugOptions {
    std::vector<std::string> breakpoints;  // each LINE[#HITS][:CONDITION]
    bool trace = false;
    bool Wanted() const { return trace || !breakpoints.empty(); }
};

// One --break item: LINE (1-based), #HITS (stop on the HITS-th arrival where
// the condition held, >= 1; 0: every one), :CONDITION ("a > 5", resolved
// against the program's names once it is compiled).
struct BreakItem {
    int line = 0;
    int hitCount = 0;
    std::string condition;
};
// Nothing, with `error` set, when the item is not of that form.
std::optional<BreakItem> ParseBreakItem(std::string_view text, std::string& error);

// The statements of a compile, for the debugger; the library file names for
// the trace's places.
struct DebugProgram {
    std::shared_ptr<const machine::StatementTable> statements;
    std::vector<std::string> libraryNames;
    compiler::NameTable names;  // for the breakpoints' conditions
};
DebugProgram DebugProgramOf(const compiler::Compiler& compiler);

// Attaches a debugger that ends the run at the first breakpoint that stops
// and writes the trace lines to `out`; nullptr when no option wants one, or
// with `error` set when a condition is refused.
std::unique_ptr<emulator::Debugger> AttachDebugger(const RunDebugOptions& options,
                                                   const DebugProgram& program,
                                                   emulator::Emulator& device,
                                                   emulator::HeadlessHost& host, std::ostream& out,
                                                   std::string& error);

// "LINE:COLUMN  ADDRESS  WORD  STACK": the stack slots 1..StackPointer in the
// trace's number form, X last.
std::string TraceLine(const emulator::Emulator& device, const machine::ProgramStatement& statement,
                      const DebugProgram& program);

// The run result's "line" and "column" of the statement the run ended before.
void AddPausePlace(nlohmann::json& result, const emulator::Debugger& debugger,
                   const emulator::Emulator& device);

}  // namespace zr::cli
