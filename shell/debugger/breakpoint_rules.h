// The breakpoints of the editor's gutter as the Breakpoints pane shows and
// edits them, and as the debugger takes them: the checks of a condition and
// a hit count typed by the user, worked out away from any widget.
#pragma once

#include <QString>
#include <vector>

#include "compiler/names.h"
#include "emulator/debugger.h"

namespace zr::shell {

struct BreakpointEntry {
    int line = 0;  // 1-based
    bool enabled = true;
    QString condition;  // "a > 5"; empty: none
    int hitCount = 0;   // stop on the Nth arrival where the condition held; 0: on each
    bool operator==(const BreakpointEntry&) const = default;
};

// How often the run reached a breakpoint's line so far (the arrivals where
// its condition held), as the debugger counts them at a pause.
struct BreakpointHits {
    int line = 0;
    int hits = 0;
    bool operator==(const BreakpointHits&) const = default;
};

// Why `condition` cannot stand, in the user's words; empty when it can (or
// is empty). Names are checked against a compiled program's table; with an
// empty one (nothing compiled yet) only the form is.
QString ConditionRefusal(const QString& condition, const compiler::NameTable& names);

// The hit count cell: empty or 0 is none; else a whole number from 1. -1 when
// the text is neither.
int HitCountOf(const QString& text);
QString HitCountText(int hitCount);

// A breakpoint for the debugger: its line and what it asks. A condition that
// no longer fits the program (a name gone since it was typed) stops on each
// arrival, so the user sees it rather than missing the stop.
struct LineBreakpoint {
    int line = 0;
    emulator::BreakpointSettings settings;
};
std::vector<LineBreakpoint> LineBreakpointsOf(const std::vector<BreakpointEntry>& entries,
                                              const compiler::NameTable& names);

}  // namespace zr::shell
