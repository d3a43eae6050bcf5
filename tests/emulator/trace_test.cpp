// The trace, a rule of the debugger's stops: the stack list before every
// instruction, one stop per statement at its first instruction (the
// statement that owns the address), and a waiting step released when the
// trace goes off.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device_fixture.h"
#include "emulator/debugger.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

// A statement table of (address, first word) records, in this order.
std::shared_ptr<const StatementTable> StatementsAt(
    const std::vector<std::pair<int, std::string>>& records) {
    std::vector<ProgramStatement> statements;
    statements.reserve(records.size());
    for (const auto& [address, word] : records) statements.push_back({address, 0, 0, 0, word, 0});
    return std::make_shared<const StatementTable>(std::move(statements));
}

// Counts the stack lists and keeps the stops; the headless host grants each
// step at once.
struct TraceHost : HeadlessHost {
    using HeadlessHost::HeadlessHost;
    std::vector<std::string> stops;
    std::vector<int> statements;
    int stackLists = 0;
    void StatementReached(Emulator&, const TraceStop& stop) override {
        stops.push_back(stop.line);
        statements.push_back(stop.statementIndex);
    }
    void TraceStack(const std::vector<std::string>&) override { ++stackLists; }
};

TEST(Trace, StopsOnceAtTheFirstInstructionOfAStatement) {
    DeviceOn<TraceHost> d("enter,enter");
    Debugger debugger(d.emulator, StatementsAt({{1, "x"}, {6, "PRINT"}}));
    debugger.SetTraceOn(true);
    d.Run(Ops(PushByte(1), PushByte(2), kAdd, PushByte(4), kEnd));
    EXPECT_EQ(d.host.stackLists, 5);  // every instruction, End too
    EXPECT_EQ(d.host.stops, (std::vector<std::string>{"2: x  ( 0)", "7: PRINT  ( 1)"}));
    EXPECT_EQ(d.X(), 4);
}

TEST(Trace, StopsAtTheStatementThatOwnsTheInstructionNotADeclarationBeforeIt) {
    DeviceOn<TraceHost> d("enter,enter");
    // DimI and a label write nothing and share address 1 with "1"; "2" is at 3.
    Debugger debugger(d.emulator, StatementsAt({{1, "DimI"}, {1, "L1:"}, {1, "1"}, {3, "2"}}));
    debugger.SetTraceOn(true);
    d.Run(Ops(PushByte(1), PushByte(2), kEnd));
    EXPECT_EQ(d.host.statements, (std::vector<int>{2, 3}));
}

// The trace window closing while a step is awaited: the program runs on
// without stops, through the loop's plain form again.
TEST(Trace, GoingOffReleasesTheWaitingStep) {
    struct ClosingHost : TraceHost {
        using TraceHost::TraceHost;
        Debugger* debugger = nullptr;
        void WaitForEvent(Emulator& emulator, WaitReason reason) override {
            if (reason == WaitReason::TraceStep)
                debugger->SetTraceOn(false);
            else
                TraceHost::WaitForEvent(emulator, reason);
        }
    };
    DeviceOn<ClosingHost> d("enter,enter");
    Debugger debugger(d.emulator, StatementsAt({{1, "1"}, {3, "2"}, {5, "+"}}));
    d.host.debugger = &debugger;
    debugger.SetTraceOn(true);
    d.Run(Ops(PushByte(1), PushByte(2), kAdd, kEnd));
    EXPECT_EQ(d.host.stops, (std::vector<std::string>{"2: 1  ( 0)"}));
    EXPECT_EQ(d.host.stackLists, 1);
    EXPECT_FALSE(debugger.traceOn());
    EXPECT_EQ(d.X(), 3);
}

// A breakpoint and the trace on the same statement: the trace's stop first,
// then the pause, before anything of the statement has run.
TEST(Trace, AStatementWithABreakpointStopsForTheTraceThenPauses) {
    DeviceOn<TraceHost> d("enter,enter");
    Debugger debugger(d.emulator, StatementsAt({{1, "1"}, {3, "2"}, {5, "+"}}));
    std::vector<std::string> events;
    debugger.onPause = [&](Emulator& e, const PauseInfo& pause) {
        events.push_back("pause " + std::to_string(pause.address) + " after " +
                         std::to_string(d.host.stops.size()) + " stops, X " +
                         std::to_string(static_cast<int>(e.machine.X())));
    };
    debugger.AddBreakpoint(3);
    debugger.SetTraceOn(true);
    d.Run(Ops(PushByte(1), PushByte(2), kAdd, kEnd));
    EXPECT_EQ(events, (std::vector<std::string>{"pause 3 after 2 stops, X 1"}));
    EXPECT_EQ(d.host.stops.size(), 3u);
    EXPECT_EQ(d.X(), 3);
}

}  // namespace
}  // namespace zr::emulator::testing
