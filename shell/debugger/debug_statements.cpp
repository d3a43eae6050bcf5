#include "shell/debugger/debug_statements.h"

#include <algorithm>

#include "compiler/source_text.h"

namespace zr::shell {

std::vector<emulator::DebugStatement> DebugStatementsOf(const compiler::Compiler& compiled) {
    std::vector<emulator::DebugStatement> statements;
    for (const compiler::StatementRecord& record : compiled.statementMap) {
        const std::string& text = compiled.TextOf(record.sourceIndex);
        const auto at = compiler::LineColumnOf(text, compiler::SkipBlanks(text, record.position));
        statements.push_back({record.address, at.line, at.column, record.sourceIndex, record.word});
    }
    return statements;
}

QList<int> BreakpointLinesAtStatements(const std::vector<emulator::DebugStatement>& statements,
                                       const QList<int>& lines) {
    QList<int> moved;
    for (const int line : lines) {
        const int index = emulator::BreakpointStatementIndex(statements, line);
        if (index >= 0) moved.append(statements[index].line);
    }
    std::sort(moved.begin(), moved.end());
    moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    return moved;
}

}  // namespace zr::shell
