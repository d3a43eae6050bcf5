#include "shell/statement_mark.h"

#include "compiler/source_text.h"

namespace zr::shell {

std::optional<int> StatementMarkOffset(std::string_view compilerText,
                                       const compiler::StatementRecord& record) {
    if (record.sourceIndex != 0) return std::nullopt;
    // The record holds where the statement's scan began, which may be blanks
    // or the previous line's end.
    const std::int32_t start = compiler::SkipBlanks(compilerText, record.position);
    return compiler::EditorOffsetOf(compilerText, start);
}

}  // namespace zr::shell
