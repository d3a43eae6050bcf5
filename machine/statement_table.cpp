#include "machine/statement_table.h"

#include <algorithm>

#include "machine/image.h"

namespace zr::machine {

StatementTable::StatementTable(std::vector<ProgramStatement> statements)
    : statements_(std::move(statements)), owner_(kProgramSize + 1, -1) {
    for (int i = 0; i < size(); ++i) {
        const int address = statements_[i].address;
        if (address >= 1 && address <= kProgramSize) owner_[address] = i;
    }
}

int StatementTable::IndexContaining(int address) const {
    for (int at = std::min(address, kProgramSize); at >= 1; --at)
        if (owner_[at] >= 0) return owner_[at];
    return -1;
}

int StatementTable::BreakpointIndex(int line) const {
    int best = -1;
    for (int address = 1; address < static_cast<int>(owner_.size()); ++address) {
        const int index = owner_[address];
        if (index < 0) continue;
        const ProgramStatement& statement = statements_[index];
        if (statement.sourceIndex != 0 || statement.line < line) continue;
        if (best < 0 || statement.line < statements_[best].line ||
            (statement.line == statements_[best].line &&
             statement.column < statements_[best].column))
            best = index;
    }
    return best;
}

}  // namespace zr::machine
