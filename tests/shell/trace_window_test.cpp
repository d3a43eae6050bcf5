// The trace window with the emulator: one stop per statement before its
// first instruction, the statement line and history, the mark in the editor,
// the watched variable, STOP, and the check mark of the trace command.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/emulator_windows.h"
#include "shell/frm_trac.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

// The declarations write nothing, so the first stop shows the DimB record,
// the first one at address 1; "b3 1 + -> b3" runs several instructions
// and stops once.
const char* kProgram =
    "DimB b1, b2, b3\nDimI table(3)\n"
    "2.5 -> b3\n"
    "  b3 1 + -> b3\n"
    "! [1,1,clr] \"Done\"\n"
    "-1 Wait\n";

}  // namespace

class TraceWindowTest : public QObject {
    Q_OBJECT

  private:
    struct Session {
        QTextEdit editor;
        QAction traceCommand{"Трассировка"};
        std::unique_ptr<zr::compiler::Compiler> compiled = Compile(kProgram);
        EmulatorWindows windows{nullptr, &editor, &traceCommand};

        Session() { editor.setPlainText(kProgram); }
        FrmTrac* trac() const { return windows.traceWindow(); }

        // Trace on, then the emulator started at address 1.
        void Start() {
            windows.ToggleTrace(*compiled);
            windows.OpenEmulator(*compiled, EmulatorStart::AfterRun);
            FrmTest* window = windows.emulatorWindow();
            ClickKey(*window, 1);
            QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                     kWorkerTimeout);
            ClickKey(*window, kKeyEnter);
        }
        void WaitForHistory(int lines) const {
            QTRY_COMPARE_WITH_TIMEOUT(trac()->history()->count(), lines, kWorkerTimeout);
        }
        void Step() const { trac()->findChild<QPushButton*>("Command3")->click(); }
    };

  private slots:
    void traceCommandShowsAndClosesTheWindow() {
        Session s;
        QVERIFY(s.traceCommand.isCheckable());
        s.windows.ToggleTrace(*s.compiled);
        QVERIFY(s.windows.traceOn());
        QVERIFY(s.traceCommand.isChecked());
        QCOMPARE(s.trac()->windowTitle(), QString("Трассировка"));
        s.windows.ToggleTrace(*s.compiled);
        QVERIFY(!s.windows.traceOn());
        QVERIFY(!s.traceCommand.isChecked());
        QVERIFY(!s.trac());
    }

    void stopsOncePerStatementBeforeItsFirstInstruction() {
        Session s;
        s.Start();
        s.WaitForHistory(1);
        QCOMPARE(s.trac()->stackList()->count(), 1);
        QCOMPARE(s.trac()->stackList()->item(0)->text(), QString(" 0"));
        // One stop per statement, each at its first instruction (the counter
        // already past it); the declarations write nothing, so the first
        // record at address 1, DimB, names the first stop.
        const QStringList expected = {"2: DimB  ( 0)", "7: ->  ( 1)",  "9: b3  ( 0)",
                                      "11: 1  ( 1)",   "13: +  ( 2)",  "14: ->  ( 1)",
                                      "16: !  ( 0)",   "24: -1  ( 0)", "27: Wait  ( 1)"};
        for (int stop = 1; stop < expected.size(); ++stop) {
            s.Step();
            s.WaitForHistory(stop + 1);
        }
        QStringList history;
        for (int i = 0; i < s.trac()->history()->count(); ++i)
            history << s.trac()->history()->item(i)->text();
        QCOMPARE(history, expected);
        QCOMPARE(s.trac()->history()->currentRow(), expected.size() - 1);
        QCOMPARE(s.trac()->statementLabel()->text(), expected.last());
        QCOMPARE(s.trac()->stackList()->item(0)->text(), QString("-1"));  // the top slot first
        s.Step();  // Wait now waits for a key: no further stop
        QTRY_COMPARE_WITH_TIMEOUT(s.windows.emulatorWindow()->displayLine(1).trimmed(),
                                  QString("Done"), kWorkerTimeout);
        QCOMPARE(s.trac()->history()->count(), expected.size());
    }

    void statementIsMarkedInTheEditor() {
        Session s;
        s.Start();
        s.WaitForHistory(1);
        QCOMPARE(s.editor.textCursor().selectedText(), QString("DimB b"));
        for (int stop = 2; stop <= 3; ++stop) {
            s.Step();
            s.WaitForHistory(stop);
        }
        // "b3" on the fourth line after two blanks; line ends count one here.
        QCOMPARE(s.editor.textCursor().selectionStart(), 42);
        QCOMPARE(s.editor.textCursor().selectedText(), QString("b3 1 +"));
        s.trac()->findChild<QPushButton*>("Command1")->click();  // Закрыть
        QVERIFY(!s.editor.textCursor().hasSelection());
        QVERIFY(!s.trac());
        QVERIFY(!s.traceCommand.isChecked());
        // The waiting step was released: the program runs on without stops.
        QTRY_COMPARE_WITH_TIMEOUT(s.windows.emulatorWindow()->displayLine(1).trimmed(),
                                  QString("Done"), kWorkerTimeout);
    }

    void watchedVariableShowsAtTheNextStop() {
        Session s;
        s.Start();
        s.WaitForHistory(1);
        QCOMPARE(s.trac()->watchedValueLabel()->text(), QString());
        s.trac()->watchName()->setText("  B3 ");
        s.trac()->findChild<QPushButton*>("Command2")->click();
        QStringList values;
        for (int stop = 2; stop <= 7; ++stop) {
            s.Step();
            s.WaitForHistory(stop);
            values << s.trac()->watchedValueLabel()->text();
        }
        // Before "->", after it (2.5 rounds to even), ..., after "b3 1 + -> b3".
        QCOMPARE(values, QStringList({"0", "2", "2", "2", "2", "3"}));
    }

    void arraysAndUnknownNamesAreRefused() {
        Session s;
        s.windows.ToggleTrace(*s.compiled);
        for (const char* name : {"table", "nosuch", "PORT"}) {
            s.trac()->watchName()->setText(name);
            s.trac()->findChild<QPushButton*>("Command2")->click();
            QVERIFY2(s.trac()->watchName()->text().isEmpty(), name);
        }
    }

    void stopButtonStopsTheProgramAndClosesTheWindow() {
        Session s;
        s.Start();
        s.WaitForHistory(1);
        s.trac()->findChild<QPushButton*>("Command4")->click();
        QVERIFY(!s.trac());
        QVERIFY(!s.traceCommand.isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(
            s.windows.emulatorWindow()->displayLine(1).startsWith("Adres\\Enter?"), kWorkerTimeout);
    }

    void endClosesBothWindowsAndClearsTheCheckMark() {
        Session s;
        s.Start();
        s.WaitForHistory(1);
        s.windows.emulatorWindow()->findChild<QAction*>("mnuEnd")->trigger();
        QVERIFY(!s.windows.emulatorWindow());
        QVERIFY(!s.trac());
        QVERIFY(!s.windows.traceOn());
        QVERIFY(!s.traceCommand.isChecked());
        s.windows.worker().Join();
    }
};

QTEST_MAIN(TraceWindowTest)
#include "trace_window_test.moc"
