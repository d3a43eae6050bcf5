// The trace window's watched variable: a name typed by the user becomes the
// VariableOperand whose value each trace stop shows.
#pragma once

#include <string_view>

#include "compiler/names.h"

namespace zr::shell {

struct WatchChoice {
    int operand = 0;         // 0: watch nothing
    bool clearName = false;  // the name was refused: empty the name field
};

// `name` in Windows-1251, compared ignoring case. Single, Byte and Integer
// variables are watched; unknown names, arrays and every other kind of name
// are refused.
WatchChoice ChooseWatchOperand(const compiler::NameTable& names, std::string_view name);

}  // namespace zr::shell
