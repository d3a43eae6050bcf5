#include "shell/debugger/statement_mark.h"

#include <algorithm>

#include "compiler/source_text.h"

namespace zr::shell {
namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<EditorRange> StatementMarkRange(
    const QString& editorText, const std::string& compilerText,
    const std::vector<compiler::StatementRecord>& statements, int index, int sourceIndex) {
    if (index < 0 || index >= static_cast<int>(statements.size())) return std::nullopt;
    const compiler::StatementRecord& record = statements[index];
    if (record.sourceIndex != sourceIndex) return std::nullopt;
    // Positions are 1-based; the record holds where the statement's scan
    // began, which may be blanks or the previous line's end.
    const auto size = static_cast<std::int32_t>(compilerText.size());
    const std::int32_t first = compiler::SkipBlanks(compilerText, record.position);
    // To the line end or a comment after the statement, whichever is first;
    // a ' inside a quoted text is part of the text.
    std::int32_t end = first;  // one past the last character marked
    bool quoted = false;
    for (; end <= size && !IsLineEnd(compilerText[end - 1]); ++end) {
        const char c = compilerText[end - 1];
        if (c == '"') quoted = !quoted;
        if (c == '\'' && !quoted) break;
    }
    for (std::size_t next = index + 1; next < statements.size(); ++next) {
        const compiler::StatementRecord& following = statements[next];
        if (following.sourceIndex != sourceIndex || following.position <= first) continue;
        end = std::min(end, following.position);
        break;
    }
    while (end > first && IsBlank(compilerText[end - 2])) --end;
    // The same conversion as the error selection, so characters the editor
    // counts twice (beyond the basic plane) do not shift the mark.
    return ErrorSelectionOf(editorText, compilerText, first, end - first);
}

}  // namespace zr::shell
