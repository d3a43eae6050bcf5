// The compiled program's statements, one table per program: each record of
// the compiler's statement map (in its order, so an index here is an index
// there) with its place in its text, and which statement owns each program
// address. Declarations, labels and THEN write no bytes and share the address
// of the statement after them, so the statement whose instruction is at an
// address is the last record there. The trace, the debugger's stops and
// breakpoint lines, the call stack and the listing all look statements up
// here; compiler::StatementTableOf builds it from a compile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zr::machine {

struct ProgramStatement {
    int address = 0;  // of its first instruction
    int line = 0;     // 1-based line and column of its first character in its text
    int column = 0;
    int sourceIndex = 0;        // 0: the main text; k: library k (no line breakpoints there)
    std::string word;           // its first word (Windows-1251)
    std::int32_t position = 0;  // where its scan began in its text (the compiler's position)
};

class StatementTable {
  public:
    StatementTable() : StatementTable(std::vector<ProgramStatement>{}) {}
    // In the compiler's order.
    explicit StatementTable(std::vector<ProgramStatement> statements);

    const std::vector<ProgramStatement>& statements() const { return statements_; }
    int size() const { return static_cast<int>(statements_.size()); }
    const ProgramStatement& operator[](int index) const { return statements_[index]; }

    // The index of the statement whose first instruction is at `address`;
    // -1 when none starts there (and for anything but an address 1..1024).
    int IndexAt(int address) const {
        if (address < 1 || address >= static_cast<int>(owner_.size())) return -1;
        return owner_[address];
    }
    const ProgramStatement* At(int address) const {
        const int index = IndexAt(address);
        return index < 0 ? nullptr : &statements_[index];
    }
    // The statement an instruction at `address` belongs to: the nearest
    // statement start at or before it; -1 before the first one.
    int IndexContaining(int address) const;
    // Where a breakpoint on `line` (1-based) of the main text holds: of the
    // statements that own their address, the first that starts on `line` or
    // after it (a line of declarations or a label has none of its own); -1
    // when none follows.
    int BreakpointIndex(int line) const;

  private:
    std::vector<ProgramStatement> statements_;
    std::vector<int> owner_;  // by address 0..1024; 0 owns nothing
};

}  // namespace zr::machine
