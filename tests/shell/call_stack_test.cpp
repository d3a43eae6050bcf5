// The return stack read as calls and events: a return address that ends a
// calling instruction is a Call's, any other one is where an event came in.
#include "shell/debugger/call_stack.h"

#include <QtTest>

#include "compiler/compiled_statements.h"
#include "emulator_test_support.h"

using namespace zr::shell;

namespace {

const char* kProgram =
    "DimB b1\n"
    "Call Twice\n"  // line 2
    "-1 Wait\n"     // line 3
    "Twice:\n"
    "2 -> b1\n"  // line 5
    "Ret\n";

int AddressOfLine(const zr::machine::StatementTable& statements, int line) {
    for (const auto& statement : statements.statements())
        if (statement.line == line && statement.address > 0) return statement.address;
    return -1;
}

}  // namespace

class CallStackTest : public QObject {
    Q_OBJECT

  private slots:
    void levelsAreCallsOrEventsByTheirReturnAddress() {
        const auto compiled = testing::Compile(kProgram);
        QVERIFY(!compiled->compileFailed);
        const auto statements = zr::compiler::StatementTableOf(*compiled);
        zr::emulator::MachineState machine;
        machine.programImage = zr::emulator::ProgramMemory(compiled->programImage);
        const int routine = AddressOfLine(statements, 5);
        const int afterCall = AddressOfLine(statements, 3);
        const int callLine = AddressOfLine(statements, 2);
        QVERIFY(routine > 0 && afterCall > 0 && callLine > 0);

        struct Case {
            std::vector<int> stack;  // bottom first; the last is the program counter
            std::vector<std::pair<CallStackEntry::Kind, int>> expected;  // kind, line; top first
        };
        using K = CallStackEntry::Kind;
        const Case cases[] = {
            {{callLine}, {{K::Current, 2}}},
            {{afterCall, routine}, {{K::Current, 5}, {K::Call, 2}}},
            // An event came in before the Call ran: it resumes on line 2.
            {{callLine, routine}, {{K::Current, 5}, {K::Event, 2}}},
            // A call inside an event routine that interrupted line 3.
            {{afterCall + 1, afterCall, routine}, {{K::Current, 5}, {K::Call, 2}, {K::Event, 3}}},
        };
        for (const Case& c : cases) {
            machine.returnPointer = static_cast<int>(c.stack.size());
            for (std::size_t i = 0; i < c.stack.size(); ++i)
                machine.returnStack[i + 1] = static_cast<std::int16_t>(c.stack[i]);
            const std::vector<CallStackEntry> entries = CallStackOf(machine, statements);
            QCOMPARE(entries.size(), c.expected.size());
            for (std::size_t i = 0; i < entries.size(); ++i) {
                QCOMPARE(entries[i].kind, c.expected[i].first);
                QVERIFY(entries[i].statement >= 0);
                QCOMPARE(statements[entries[i].statement].line, c.expected[i].second);
            }
        }
    }
};

QTEST_MAIN(CallStackTest)
#include "call_stack_test.moc"
