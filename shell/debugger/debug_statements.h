// Where the editor's breakpoints hold on the compiled program's statements.
#pragma once

#include <QList>

#include "machine/statement_table.h"

namespace zr::shell {

// Each breakpoint line moved to the line of the statement the run stops at
// for it; a line after the last statement goes. Ascending, without repeats.
QList<int> BreakpointLinesAtStatements(const machine::StatementTable& statements,
                                       const QList<int>& lines);

}  // namespace zr::shell
