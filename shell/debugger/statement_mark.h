// Where the trace marks a statement in the source editor.
#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "shell/main_window/compile_session.h"

namespace zr::shell {

// The editor range of statement `index` of `statements`: from its first
// character to the next statement's position or the end of its line,
// whichever comes first, without trailing blanks. `compilerText` is the main
// text compiled (or library `sourceIndex`'s text) and `editorText` the
// editor text it was made from. Nothing for a statement of another text.
std::optional<EditorRange> StatementMarkRange(
    const QString& editorText, const std::string& compilerText,
    const std::vector<compiler::StatementRecord>& statements, int index, int sourceIndex = 0);

}  // namespace zr::shell
