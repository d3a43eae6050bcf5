// The trace window's logic: the watched variable's operand and where a
// statement is marked in the editor.
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/statement_mark.h"
#include "shell/watch_choice.h"

using namespace zr::shell;
using namespace zr::shell::testing;

class TraceLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void watchOperandFollowsTheOperandRule() {
        const auto compiled = Compile("DimB b1, b2, b3\nDimS s1, s2\nDimI count\nDimI list(4)\n");
        QVERIFY(!compiled->compileFailed);
        const auto& names = compiled->names;
        QCOMPARE(ChooseWatchOperand(names, "b3").operand, 35);
        QCOMPARE(ChooseWatchOperand(names, "S2").operand, 2);
        QCOMPARE(ChooseWatchOperand(names, " count ").operand, 8 + 128);
        QCOMPARE(ChooseWatchOperand(names, "i").operand, 1 + 128);  // a loop variable
        const WatchChoice array = ChooseWatchOperand(names, "list");
        QCOMPARE(array.operand, 0);
        QVERIFY(array.clearName);
        QVERIFY(ChooseWatchOperand(names, "Stack").clearName);
        const WatchChoice empty = ChooseWatchOperand(names, "   ");
        QCOMPARE(empty.operand, 0);
        QVERIFY(!empty.clearName);
    }

    void markSkipsBlanksAndCountsALineEndAsOne() {
        const std::string text = "1 PrtX\r\n   2 PrtX\r\n";
        zr::compiler::StatementRecord second;
        second.position = 8;  // the scan began at the line feed
        QCOMPARE(StatementMarkOffset(text, second), std::optional<int>(10));
    }

    void statementsOfALibraryAreNotMarked() {
        zr::compiler::StatementRecord record;
        record.position = 1;
        record.sourceIndex = 1;
        QVERIFY(!StatementMarkOffset("x", record));
    }
};

QTEST_MAIN(TraceLogicTest)
#include "trace_logic_test.moc"
