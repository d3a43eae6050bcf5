// Breakpoint conditions and hit counts: parsing against the program's names,
// and where a run pauses with them.
#include <deque>
#include <functional>

#include "compiled_program.h"
#include "device_fixture.h"
#include "emulator/debugger.h"
#include "machine/cp1251.h"

namespace zr::emulator::testing {
namespace {

// Each pass: cnt counts 0, 1, 2 ... and x 0, -0.5, -1 ... at line 4.
const char* const kLoop =
    "DimI cnt\n"        // 1
    "DimS x\n"          // 2
    "Top:\n"            // 3
    "cnt 1 + -> cnt\n"  // 4
    "x 0.5 - -> x\n"    // 5
    "GoTo Top\n";       // 6

struct Looped {
    Looped() {
        compiled = LoadCompiled(d.emulator, kLoop);
        debugger = std::make_unique<Debugger>(d.emulator, StatementsOf(*compiled));
        debugger->onPause = [this](Emulator& e, const PauseInfo& pause) {
            lines.push_back(pause.statement ? pause.statement->line : -1);
            counts.push_back(e.machine.integers[8]);
            if (atPause) atPause(lines.size());
            if (continues-- <= 0) return d.host.EndAtPause(e);
            debugger->Continue();
        };
    }
    ParsedCondition Parse(std::string_view text) const {
        return ParseBreakCondition(text, [this](std::string_view name) {
            return compiler::OneValueOperand(compiled->names, machine::Utf8ToCp1251(name));
        });
    }
    // A breakpoint on line 4 with the condition (empty: none).
    void Break(const char* condition, int hitCount = 0, bool enabled = true) {
        BreakpointSettings settings{enabled, std::nullopt, hitCount};
        if (*condition) {
            settings.condition = Parse(condition).condition;
            ASSERT_TRUE(settings.condition) << condition;
        }
        ASSERT_EQ(debugger->SetBreakpointAtLine(4, std::move(settings)), 4);
    }

    Device d{"enter,enter"};
    std::unique_ptr<compiler::Compiler> compiled;
    std::unique_ptr<Debugger> debugger;
    int continues = 0;
    std::function<void(std::size_t pauses)> atPause;
    std::vector<int> lines;
    std::vector<int> counts;
};

struct ConditionCase {
    const char* name;
    const char* condition;
    int firstCount;  // cnt at the first pause
};
class Condition : public ::testing::TestWithParam<ConditionCase> {};
TEST_P(Condition, FirstPauseIsWhereItHolds) {
    Looped p;
    p.Break(GetParam().condition);
    p.d.Run();
    ASSERT_EQ(p.counts.size(), 1u);
    EXPECT_EQ(p.counts[0], GetParam().firstCount);
}
INSTANTIATE_TEST_SUITE_P(
    Operators, Condition,
    ::testing::Values(ConditionCase{"Equal", "cnt = 3", 3}, ConditionCase{"NotEqual", "cnt<>0", 1},
                      ConditionCase{"Greater", "cnt > 4", 5},
                      ConditionCase{"GreaterEqual", "  cnt >= 4 ", 4},
                      ConditionCase{"Less", "x < -1.5", 4},  // x is -2 on pass 5
                      ConditionCase{"LessEqual", "x <= -1.5", 3},
                      ConditionCase{"DecimalComma", "x = -1,5", 3},
                      ConditionCase{"ExponentAndCase", "CNT = 2e0", 2},
                      ConditionCase{"LoopVariable", "i = 0", 0}),
    kByName);

struct FaultCase {
    const char* name;
    const char* condition;
    ConditionFault fault;
    const char* text;  // keltoc's wording contains this
};
class ConditionFaults : public ::testing::TestWithParam<FaultCase> {};
TEST_P(ConditionFaults, AreRefusedWithTheirReason) {
    Looped p;
    const auto parsed = p.Parse(GetParam().condition);
    EXPECT_FALSE(parsed.condition);
    EXPECT_EQ(parsed.fault, GetParam().fault);
    EXPECT_NE(ConditionFaultText(parsed).find(GetParam().text), std::string::npos)
        << ConditionFaultText(parsed);
}
INSTANTIATE_TEST_SUITE_P(
    Table, ConditionFaults,
    ::testing::Values(
        FaultCase{"UnknownName", "y > 1", ConditionFault::UnknownName, "'y' is not a name"},
        FaultCase{"Label", "Top = 1", ConditionFault::NotOneValue, "'Top' is not a single"},
        FaultCase{"Port", "PORT = 1", ConditionFault::NotOneValue, "not a single"},
        FaultCase{"Empty", "", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"NoOperator", "cnt 5", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"NoName", "> 5", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"NoNumber", "cnt >", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"WordNotNumber", "cnt > x", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"TrailingText", "cnt > 5 6", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"BadOperator", "cnt => 5", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"DoubleEqual", "cnt == 5", ConditionFault::Syntax, "NAME OP NUMBER"},
        FaultCase{"TwoNames", "cnt x = 5", ConditionFault::Syntax, "NAME OP NUMBER"}),
    kByName);

// Line 5 always stops, so the run goes on past line 4's one stop.
struct HitCase {
    const char* name;
    const char* condition;
    int hitCount;
    std::vector<int> lines;  // of the pauses, 6 continues
    int countAtLine4;
};
class HitCount : public ::testing::TestWithParam<HitCase> {};
TEST_P(HitCount, StopsOnlyOnTheNthArrivalWhereTheConditionHeld) {
    const HitCase& c = GetParam();
    Looped p;
    p.Break(c.condition, c.hitCount);
    ASSERT_EQ(p.debugger->SetBreakpointAtLine(5, {}), 5);
    p.continues = 6;
    p.d.Run();
    EXPECT_EQ(p.lines, c.lines);
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        if (p.lines[i] == 4) {
            EXPECT_EQ(p.counts[i], c.countAtLine4);
        }
}
INSTANTIATE_TEST_SUITE_P(
    Table, HitCount,
    ::testing::Values(HitCase{"First", "", 1, {4, 5, 5, 5, 5, 5, 5}, 0},
                      HitCase{"Third", "", 3, {5, 5, 4, 5, 5, 5, 5}, 2},
                      // cnt > 1 holds from pass 3 on: its second time is pass 4.
                      HitCase{"WithCondition", "cnt > 1", 2, {5, 5, 5, 4, 5, 5, 5}, 3}),
    kByName);

TEST(HitCount, CountsOnlyArrivalsWhereTheConditionHeld) {
    Looped p;
    p.Break("cnt >= 2", 100);
    ASSERT_EQ(p.debugger->SetBreakpointAtLine(5, {}), 5);
    const int address = *p.debugger->breakpoints().begin();
    p.continues = 4;  // pauses at line 5 on passes 1..5
    p.d.Run();
    EXPECT_EQ(p.debugger->HitsAt(address), 3);  // passes 3, 4 and 5
    p.debugger->ResetHitCounts();
    EXPECT_EQ(p.debugger->HitsAt(address), 0);
}

TEST(Breakpoint, DisabledNeverStopsAndEnablingStopsAgain) {
    Looped p;
    p.Break("", 0, false);
    ASSERT_EQ(p.debugger->SetBreakpointAtLine(5, {}), 5);
    p.atPause = [&p](std::size_t pauses) {
        if (pauses == 2) p.Break("");
    };
    p.continues = 3;
    p.d.Run();
    EXPECT_EQ(p.lines, (std::vector<int>{5, 5, 4, 5}));
    EXPECT_EQ(p.counts[2], 2);
}

TEST(Breakpoint, RemovingDropsItsSettingsAndCount) {
    Looped p;
    p.Break("cnt = 2", 0);
    const int address = *p.debugger->breakpoints().begin();
    p.d.Run();
    EXPECT_EQ(p.debugger->HitsAt(address), 1);
    p.debugger->RemoveBreakpoint(address);
    EXPECT_EQ(p.debugger->HitsAt(address), 0);
    EXPECT_TRUE(p.debugger->breakpoints().empty());
}

}  // namespace
}  // namespace zr::emulator::testing
