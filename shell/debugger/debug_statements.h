// The compiled program's statements as the debugger knows them (line and
// column in their text), and where the editor's breakpoints hold on them.
#pragma once

#include <QList>
#include <vector>

#include "compiler/compiler.h"
#include "emulator/debugger.h"

namespace zr::shell {

std::vector<emulator::DebugStatement> DebugStatementsOf(const compiler::Compiler& compiled);

// Each breakpoint line moved to the line of the statement the run stops at
// for it; a line after the last statement goes. Ascending, without repeats.
QList<int> BreakpointLinesAtStatements(const std::vector<emulator::DebugStatement>& statements,
                                       const QList<int>& lines);

}  // namespace zr::shell
