// The trace window's logic: the watched variable's operand and where a
// statement is marked in the editor.
#include <QtTest>

#include "compiler/source_text.h"
#include "emulator_test_support.h"
#include "shell/debugger/statement_mark.h"
#include "shell/debugger/watch_choice.h"

using namespace zr::shell;
using namespace zr::shell::testing;

#define ASSERT_TEXT(actual, expected) \
    QCOMPARE(QByteArray::fromStdString(actual), QByteArray(expected))

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

    // The mark runs from the statement's first character to the next
    // statement or the line end, without trailing blanks; line ends count one
    // and a character beyond the basic plane counts two, as in the editor.
    void markCoversTheWholeStatement() {
        const QString editor = QString::fromUtf8("' \xF0\x9F\x98\x80\n  Dup  PrtX   \nEnd");
        const std::string text = zr::compiler::ToCompilerText(editor.toStdString());
        ASSERT_TEXT(text, "' ?\r\n  Dup  PrtX   \r\nEnd");
        // Records hold where each scan began: after the previous word.
        auto record = [](std::int32_t position) {
            zr::compiler::StatementRecord r;
            r.position = position;
            return r;
        };
        const std::vector<zr::compiler::StatementRecord> statements = {record(4), record(11),
                                                                       record(17)};
        struct Case {
            int index;
            EditorRange range;
            const char* marked;
        };
        for (const Case& c :
             {Case{0, {7, 3}, "Dup"}, Case{1, {12, 4}, "PrtX"}, Case{2, {20, 3}, "End"}}) {
            const auto range = StatementMarkRange(editor, text, statements, c.index);
            QVERIFY(range);
            QCOMPARE(*range, c.range);
            QCOMPARE(editor.mid(range->start, range->length), QString(c.marked));
        }
        QVERIFY(!StatementMarkRange(editor, text, statements, 3));
        // A statement of a library has no place in the editor.
        std::vector<zr::compiler::StatementRecord> library = {record(1)};
        library[0].sourceIndex = 1;
        QVERIFY(!StatementMarkRange("x", "x", library, 0));
    }

    // A comment after the statement is not marked; a ' inside a quoted text
    // is part of the text.
    void markStopsBeforeAComment() {
        const QString editor = QString::fromUtf8("! [1,1,clr] \"it's\"  ' note\nx  'why");
        const std::string text = zr::compiler::ToCompilerText(editor.toStdString());
        std::vector<zr::compiler::StatementRecord> statements(2);
        statements[0].position = 1;
        statements[1].position = 29;
        const struct {
            int index;
            const char* marked;
        } cases[] = {{0, "! [1,1,clr] \"it's\""}, {1, "x"}};
        for (const auto& c : cases) {
            const auto range = StatementMarkRange(editor, text, statements, c.index);
            QVERIFY(range);
            QCOMPARE(editor.mid(range->start, range->length), QString(c.marked));
        }
    }
};

QTEST_MAIN(TraceLogicTest)
#include "trace_logic_test.moc"
