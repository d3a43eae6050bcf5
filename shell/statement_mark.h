// Where the trace marks a statement in the source editor.
#pragma once

#include <optional>
#include <string_view>

#include "compiler/compiler.h"

namespace zr::shell {

inline constexpr int kStatementMarkLength = 6;

// The editor offset of the statement's first character in `compilerText`
// (the main text compiled). Nothing for a statement of a library: its
// position belongs to another text.
std::optional<int> StatementMarkOffset(std::string_view compilerText,
                                       const compiler::StatementRecord& record);

}  // namespace zr::shell
