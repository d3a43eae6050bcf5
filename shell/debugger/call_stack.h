// The device's return stack read as calls: which statement called each level
// and which levels are event routines that interrupted the program.
#pragma once

#include <vector>

#include "emulator/machine.h"
#include "machine/statement_table.h"

namespace zr::shell {

struct CallStackEntry {
    enum class Kind {
        Current,  // the statement about to run
        Call,     // a Call (or OnX, Segm) waiting for its routine to return
        Event,    // a timer or program event routine interrupted the program here
    };
    Kind kind = Kind::Current;
    int address = 0;     // Current: the program counter; else the return address
    int statement = -1;  // index into the statements: the caller, or where the
                         // program resumes after an event; -1 when none
};

// From the top of the return stack down. A level whose return address ends a
// calling instruction is a call; any other return address is where an event
// interrupted the program (events come between instructions).
std::vector<CallStackEntry> CallStackOf(const emulator::MachineState& machine,
                                        const machine::StatementTable& statements);

}  // namespace zr::shell
