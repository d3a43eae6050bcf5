// The statement table of a compile: built once from the compiler's statement
// map, shared by the debugger, the trace, keltoc and the windows.
#pragma once

#include "compiler/compiler.h"
#include "machine/statement_table.h"

namespace zr::compiler {

machine::StatementTable StatementTableOf(const Compiler& compiled);

}  // namespace zr::compiler
