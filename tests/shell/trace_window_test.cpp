// The trace window with the emulator: one stop per statement before its
// first instruction, the statement line and history, the mark in the editor,
// the watched variable, Close, STOP and End.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/frm_trac.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

// The declarations write nothing and share address 1 with "2.5", which owns
// the instruction there, so the first stop shows and marks "2.5". Each word
// of "b3 1 + -> b3" is a statement of its own, marked whole.
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

        Session() {
            editor.setPlainText(kProgram);
            windows.ToggleTrace(*compiled);
        }
        FrmTrac* trac() const { return windows.traceWindow(); }
        // Trace on, the emulator started at address 1, the first stop shown.
        bool Start() {
            if (!StartAtAddressOne(windows, *compiled)) return false;
            WaitForHistory(1);
            return !QTest::currentTestFailed();
        }
        void WaitForHistory(int lines) const {
            QTRY_COMPARE_WITH_TIMEOUT(trac()->history()->count(), lines, kWorkerTimeout);
        }
        void Click(const char* button) const { trac()->findChild<QPushButton*>(button)->click(); }
        void Step(int stop) const {
            Click("Command3");
            WaitForHistory(stop);
        }
    };

  private slots:
    void stepsOncePerStatementMarkingItAndShowingTheWatchedVariable() {
        Session s;
        QVERIFY(s.Start());
        QCOMPARE(s.trac()->stackList()->count(), 1);
        QCOMPARE(s.trac()->stackList()->item(0)->text(), QString(" 0"));
        QCOMPARE(s.editor.textCursor().selectedText(), QString("2.5"));
        QTRY_COMPARE_WITH_TIMEOUT(s.windows.emulatorWindow()->runStateText(),
                                  QString("Ждёт шага трассировки"), kWorkerTimeout);
        QCOMPARE(s.trac()->watchedValueLabel()->text(), QString());
        s.trac()->watchName()->setText("  B3 ");
        s.Click("Command2");

        // One stop per statement, each at its first instruction (the counter
        // already past it).
        const QStringList expected = {"2: 2.5  ( 0)", "7: ->  ( 1)",  "9: b3  ( 0)",
                                      "11: 1  ( 1)",  "13: +  ( 2)",  "14: ->  ( 1)",
                                      "16: !  ( 0)",  "24: -1  ( 0)", "27: Wait  ( 1)"};
        QStringList values;
        for (int stop = 2; stop <= expected.size(); ++stop) {
            s.Step(stop);
            values << s.trac()->watchedValueLabel()->text();
            if (stop == 7) {  // the print statement up to the line end
                QCOMPARE(s.editor.textCursor().selectedText(), QString("! [1,1,clr] \"Done\""));
            }
            if (stop == 3) {  // "b3" on the fourth line after two blanks; line ends count one
                QCOMPARE(s.editor.textCursor().selectionStart(), 42);
                QCOMPARE(s.editor.textCursor().selectedText(), QString("b3"));
            }
        }
        // Before "->", after it (2.5 rounds to even), ..., after "b3 1 + -> b3".
        QCOMPARE(values.mid(0, 6), QStringList({"0", "2", "2", "2", "2", "3"}));
        QStringList history;
        for (int i = 0; i < s.trac()->history()->count(); ++i)
            history << s.trac()->history()->item(i)->text();
        QCOMPARE(history, expected);
        QCOMPARE(s.trac()->history()->currentRow(), expected.size() - 1);
        QCOMPARE(s.trac()->statementLabel()->text(), expected.last());
        QCOMPARE(s.trac()->stackList()->item(0)->text(), QString("-1"));  // the top slot first
        s.Step(expected.size());  // Wait now waits for a key: no further stop
        ZR_WAIT_LINE1(s.windows.emulatorWindow(), "Done");
        QCOMPARE(s.trac()->history()->count(), expected.size());
    }

    // Each way out closes the trace window and clears the command's check mark.
    void closeRunsOnStopStopsTheProgramAndEndClosesBoth() {
        for (const char* command : {"Command1", "Command4", "mnuEnd"}) {  // Закрыть, STOP, End
            Session s;
            QVERIFY(s.Start());
            QVERIFY(s.traceCommand.isChecked());
            FrmTest* window = s.windows.emulatorWindow();
            if (QByteArray(command) == "mnuEnd")
                window->findChild<QAction*>(command)->trigger();
            else
                s.Click(command);
            QVERIFY2(!s.trac() && !s.traceCommand.isChecked(), command);
            if (QByteArray(command) == "Command1") {
                // The mark goes; the waiting step was released: no further stops.
                QVERIFY(!s.editor.textCursor().hasSelection());
                ZR_WAIT_LINE1(window, "Done");
            } else if (QByteArray(command) == "Command4") {
                ZR_WAIT_PROMPT(window);
            } else {
                QVERIFY(!s.windows.emulatorWindow() && !s.windows.traceOn());
                s.windows.worker().Join();
            }
        }
    }

    void theWindowIsResizableAndItsControlsKeepTheirCaptions() {
        Session s;
        FrmTrac* trac = s.trac();
        QVERIFY(trac->minimumSize() != trac->maximumSize());
        trac->resize(trac->minimumSizeHint());
        QCoreApplication::processEvents();
        for (QPushButton* button : trac->findChildren<QPushButton*>())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        trac->resize(trac->minimumSizeHint() * 2);
        QCoreApplication::processEvents();
        QVERIFY(trac->history()->height() > trac->minimumSizeHint().height() / 4);
    }

    void arraysAndUnknownNamesAreRefused() {
        Session s;
        for (const char* name : {"table", "nosuch", "PORT"}) {
            s.trac()->watchName()->setText(name);
            s.Click("Command2");
            QVERIFY2(s.trac()->watchName()->text().isEmpty(), name);
        }
    }
};

QTEST_MAIN(TraceWindowTest)
#include "trace_window_test.moc"
