#include "shell/debugger/debug_statements.h"

#include <algorithm>

namespace zr::shell {

QList<int> BreakpointLinesAtStatements(const machine::StatementTable& statements,
                                       const QList<int>& lines) {
    QList<int> moved;
    for (const int line : lines) {
        const int index = statements.BreakpointIndex(line);
        if (index >= 0) moved.append(statements[index].line);
    }
    std::sort(moved.begin(), moved.end());
    moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    return moved;
}

}  // namespace zr::shell
