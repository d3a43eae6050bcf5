// The debugger's breakpoints and stepping rules on compiled programs: where
// a pause lands, and that nothing of the statement there has run.
#include <deque>
#include <functional>

#include "compiled_program.h"
#include "device_fixture.h"
#include "emulator/debugger.h"

namespace zr::emulator::testing {
namespace {

// Line numbers are the test's anchors.
const char* const kProgram =
    "DimI cnt\n"        // 1
    "1 -> cnt\n"        // 2
    "Call Twice\n"      // 3
    "cnt PrtX\n"        // 4
    "End\n"             // 5
    "Twice:\n"          // 6
    "cnt 2 * -> cnt\n"  // 7
    "Ret\n";            // 8

using Action = std::function<void(Debugger&)>;

// A compiled program on a device with a debugger; each pause records its
// line and cnt, then takes the next scripted action (none left: end the run).
struct Debugged {
    explicit Debugged(const char* source) {
        const auto compiled = LoadCompiled(d.emulator, source);
        debugger = std::make_unique<Debugger>(d.emulator, StatementsOf(*compiled));
        debugger->onPause = [this](Emulator& e, const PauseInfo& pause) {
            lines.push_back(pause.statement ? pause.statement->line : -1);
            values.push_back(e.machine.integers[8]);  // cnt, the first declared Integer
            reasons.push_back(pause.reason);
            changed.push_back(pause.changedOperand);
            if (actions.empty()) return d.host.EndAtPause(e);
            actions.front()(*debugger);
            actions.pop_front();
        };
    }
    void Run(std::deque<Action> script = {}) {
        actions = std::move(script);
        d.Run();
    }

    Device d{"enter,enter"};
    std::unique_ptr<Debugger> debugger;
    std::deque<Action> actions;
    std::vector<int> lines;
    std::vector<int> values;
    std::vector<PauseReason> reasons;
    std::vector<int> changed;
};

const Action kStepInto = [](Debugger& g) { g.StepInto(); };
const Action kStepOver = [](Debugger& g) { g.StepOver(); };
const Action kStepOut = [](Debugger& g) { g.StepOut(); };
const Action kContinue = [](Debugger& g) { g.Continue(); };

TEST(Breakpoint, LineWithoutStatementMovesToTheNext) {
    Debugged p(kProgram);
    EXPECT_EQ(p.debugger->AddBreakpointAtLine(1), 2);  // a declaration
    EXPECT_EQ(p.debugger->AddBreakpointAtLine(6), 7);  // a label
    EXPECT_EQ(p.debugger->AddBreakpointAtLine(9), 0);  // past the end
    EXPECT_EQ(p.debugger->breakpoints().size(), 2u);
}

TEST(Breakpoint, ContinueStopsAtEachHitAndRunsOn) {
    Debugged p(kProgram);
    p.debugger->AddBreakpointAtLine(2);
    p.debugger->AddBreakpointAtLine(4);
    p.Run({kContinue, kContinue});
    EXPECT_EQ(p.lines, (std::vector<int>{2, 4}));
    EXPECT_EQ(p.values, (std::vector<int>{0, 2}));
    EXPECT_EQ(p.d.Stop(), StopReason::Stopped);  // ran on to End
    EXPECT_EQ(p.d.Line(2).substr(0, 2), "2 ");
}

TEST(Breakpoint, LoopBackToTheSameStatementStopsEachPass) {
    Debugged p("DimI cnt\nTop:\ncnt 1 + -> cnt\nGoTo Top\n");
    p.debugger->AddBreakpointAtLine(3);
    p.Run({kContinue, kContinue});
    EXPECT_EQ(p.values, (std::vector<int>{0, 1, 2}));
}

struct StepCase {
    const char* name;
    int breakLine;
    std::deque<Action> script;
    std::vector<int> lines;  // of every pause, the breakpoint's first
};
class Step : public ::testing::TestWithParam<StepCase> {};
TEST_P(Step, PausesWhereTheRuleSays) {
    const StepCase& c = GetParam();
    Debugged p(kProgram);
    p.debugger->AddBreakpointAtLine(c.breakLine);
    p.Run(c.script);
    EXPECT_EQ(p.lines, c.lines);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, Step,
    ::testing::Values(
        // Every word is a statement: "1 -> cnt" is two, "cnt 2 * -> cnt" four.
        StepCase{"IntoFollowsTheCall",
                 2,
                 std::deque<Action>(10, kStepInto),
                 {2, 2, 3, 7, 7, 7, 7, 8, 4, 4, 5}},
        StepCase{"OverRunsTheCallToItsReturn", 3, std::deque<Action>(3, kStepOver), {3, 4, 4, 5}},
        StepCase{"OutLeavesTheRoutine", 7, {kStepOut}, {7, 4}},
        StepCase{"OutOnTheMainLevelRunsOn", 2, {kStepOut}, {2}}),
    kByName);

TEST(Step, OverWithABreakpointInTheRoutineStopsThere) {
    Debugged p(kProgram);
    p.debugger->AddBreakpointAtLine(3);
    p.debugger->AddBreakpointAtLine(8);
    p.Run({kStepOver});
    EXPECT_EQ(p.lines, (std::vector<int>{3, 8}));
    EXPECT_EQ(p.reasons.back(), PauseReason::Breakpoint);
}

TEST(Step, RunToAnAddress) {
    Debugged p(kProgram);
    p.debugger->AddBreakpointAtLine(2);
    int line5 = 0;
    for (int a = 1; a <= 1024; ++a)
        if (const auto* s = p.debugger->StatementAt(a); s && s->line == 5) line5 = a;
    ASSERT_NE(line5, 0);
    p.Run({[line5](Debugger& g) { g.RunTo(line5); }});
    EXPECT_EQ(p.lines, (std::vector<int>{2, 5}));
    EXPECT_EQ(p.reasons.back(), PauseReason::RunTo);
    EXPECT_EQ(p.values.back(), 2);
}

// cnt is Integer 8 (operand 136), tab(1..3) Integers 9..11 (operands 137..139).
const char* const kWatched =
    "DimI cnt\n"     // 1
    "DimI tab(3)\n"  // 2
    "1 -> cnt\n"     // 3
    "7 mv tab(2)\n"  // 4
    "7 mv tab(2)\n"  // 5: the same value again
    "5 mv tab(3)\n"  // 6
    "End\n";         // 7

TEST(DataBreakpoint, PausesAtTheStatementAfterTheChange) {
    struct Case {
        std::uint8_t operand;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {136, {4}},  // cnt, before anything of line 4 ran
        {137, {}},   // tab(1) never changes
        {138, {5}},  // tab(2): the second store writes the value it holds
        {139, {7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operand);
        Debugged p(kWatched);
        EXPECT_TRUE(p.debugger->AddDataBreakpoint(c.operand));
        p.Run({kContinue, kContinue});
        EXPECT_EQ(p.lines, c.lines);
        for (std::size_t k = 0; k < p.reasons.size(); ++k) {
            EXPECT_EQ(p.reasons[k], PauseReason::DataChange);
            EXPECT_EQ(p.changed[k], c.operand);
        }
    }
}

TEST(DataBreakpoint, RemovedOrHardwareWatchesDoNotPause) {
    Debugged p(kWatched);
    EXPECT_FALSE(p.debugger->AddDataBreakpoint(machine::kOperandPort));
    EXPECT_TRUE(p.debugger->AddDataBreakpoint(136));
    EXPECT_TRUE(p.debugger->AddDataBreakpoint(138));
    p.debugger->RemoveDataBreakpoint(136);
    EXPECT_EQ(p.debugger->dataBreakpoints().size(), 1u);
    p.debugger->ClearDataBreakpoints();
    p.Run();
    EXPECT_TRUE(p.lines.empty());
    EXPECT_EQ(p.d.Stop(), StopReason::Stopped);
}

TEST(DataBreakpoint, StepBackOverADataPause) {
    Debugged p(kWatched);
    p.debugger->KeepHistory(100);
    p.debugger->AddDataBreakpoint(136);
    // Back to the store into cnt, which is no change of its own; running it
    // again changes cnt again.
    p.Run({[](Debugger& g) { EXPECT_TRUE(g.StepBack()); }, kContinue, kContinue});
    EXPECT_EQ(p.lines, (std::vector<int>{4, 3, 4}));
    EXPECT_EQ(p.values, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(p.reasons, (std::vector<PauseReason>{PauseReason::DataChange, PauseReason::StepBack,
                                                   PauseReason::DataChange}));
}

}  // namespace
}  // namespace zr::emulator::testing
